#include "archive/archive_form.h"

#include "archive/archive_commands.h"
#include "ui_archive_form.h"

#include <QTreeWidget>

namespace r470 {

namespace {

QString Utf8(const std::string& s) {
    return QString::fromStdString(s);
}

std::string IsoOf(const QCheckBox* on, const QDateEdit* date) {
    return on->isChecked() ? date->date().toString(Qt::ISODate).toStdString() : std::string();
}

} // namespace

TArchiveForm::TArchiveForm(CableArchive& archive, Workspace& session, SetCommands& commands,
                           CompareCommands& compare, Display& display, Prompts& prompts,
                           QWidget* parent)
    : QDialog(parent), archive_(archive), session_(session), commands_(commands), compare_(compare),
      display_(display), prompts_(prompts), ui_(std::make_unique<Ui::TArchiveForm>()) {
    ui_->setupUi(this);
    ui_->From->setDate(QDate::currentDate().addYears(-1));
    ui_->To->setDate(QDate::currentDate());
    QStringList captions;
    for (const char* c : kBrowserColumns)
        captions << c;
    ui_->Tests->setColumnCount(static_cast<int>(kBrowserColumns.size()));
    ui_->Tests->setHeaderLabels(captions);

    connect(ui_->Search, &QLineEdit::textChanged, this, &TArchiveForm::Refresh);
    for (QCheckBox* c : {ui_->FromOn, ui_->ToOn})
        connect(c, &QCheckBox::toggled, this, &TArchiveForm::Refresh);
    for (QDateEdit* d : {ui_->From, ui_->To})
        connect(d, &QDateEdit::dateChanged, this, &TArchiveForm::Refresh);
    connect(ui_->Tests, &QTreeWidget::itemSelectionChanged, this, &TArchiveForm::ChoiceChanged);
    connect(ui_->Tests, &QTreeWidget::itemDoubleClicked, this, &TArchiveForm::OpenClick);
    connect(ui_->Open, &QPushButton::clicked, this, &TArchiveForm::OpenClick);
    connect(ui_->Compare, &QPushButton::clicked, this, &TArchiveForm::CompareClick);
    connect(ui_->Baseline, &QPushButton::clicked, this, &TArchiveForm::BaselineClick);
    connect(ui_->Remove, &QPushButton::clicked, this, &TArchiveForm::RemoveClick);
    connect(ui_->Report, &QPushButton::clicked, this, &TArchiveForm::ReportClick);
    connect(ui_->CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
    Refresh();
}

TArchiveForm::~TArchiveForm() = default;

QTreeWidget* TArchiveForm::Tree() const {
    return ui_->Tests;
}

void TArchiveForm::Refresh() {
    std::int64_t chosen = ChosenTest();
    ui_->Tests->clear();
    std::vector<ArchiveTest> tests =
        archive_.List(BrowserFilter(ui_->Search->text().toStdString(),
                                    IsoOf(ui_->FromOn, ui_->From), IsoOf(ui_->ToOn, ui_->To)));
    QTreeWidgetItem* site = nullptr;
    QTreeWidgetItem* cable = nullptr;
    rows_ = BrowserRows(tests);
    for (const BrowserRow& r : rows_) {
        QStringList texts;
        for (const std::string& c : r.columns)
            texts << Utf8(c);
        if (r.level == BrowserRow::Site) {
            site = new QTreeWidgetItem(ui_->Tests, texts);
            site->setExpanded(true);
        } else if (r.level == BrowserRow::Cable) {
            cable = new QTreeWidgetItem(site, texts);
            cable->setExpanded(true);
        } else {
            auto* item = new QTreeWidgetItem(cable, texts);
            item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(r.test));
            if (r.changed)
                for (int c = 0; c < item->columnCount(); ++c)
                    item->setForeground(c, QColor(200, 0, 0));
            QFont f = item->font(0);
            f.setBold(r.changed || r.baseline);
            for (int c = 0; c < item->columnCount(); ++c)
                item->setFont(c, f);
        }
    }
    for (int c = 0; c < ui_->Tests->columnCount(); ++c)
        ui_->Tests->resizeColumnToContents(c);
    ChooseTest(chosen);
    ChoiceChanged();
}

std::int64_t TArchiveForm::ChosenTest() const {
    QTreeWidgetItem* item = ui_->Tests->currentItem();
    return item ? item->data(0, Qt::UserRole).toLongLong() : 0;
}

void TArchiveForm::ChooseTest(std::int64_t test) {
    for (QTreeWidgetItemIterator it(ui_->Tests); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toLongLong() == test && test != 0)
            ui_->Tests->setCurrentItem(*it);
}

void TArchiveForm::ChoiceChanged() {
    bool test = ChosenTest() != 0;
    for (QPushButton* b : {ui_->Open, ui_->Compare, ui_->Baseline, ui_->Remove})
        b->setEnabled(test && !(archive_.ReadOnly() && (b == ui_->Baseline || b == ui_->Remove)));
    ui_->Report->setEnabled(!ui_->Tests->selectedItems().isEmpty());
}

std::vector<std::int64_t> TArchiveForm::SelectedTests() const {
    // The tree's items are the rows in order.
    std::vector<bool> chosen;
    for (QTreeWidgetItemIterator it(ui_->Tests); *it; ++it)
        chosen.push_back((*it)->isSelected());
    return TestsOfRows(rows_, chosen);
}

void TArchiveForm::SetReportAction(ReportAction action) {
    reportAction_ = std::move(action);
    ui_->Report->setVisible(static_cast<bool>(reportAction_));
}

void TArchiveForm::ReportClick() {
    std::vector<ArchiveTest> tests;
    for (std::int64_t t : SelectedTests())
        if (std::optional<ArchiveTest> found = archive_.Test(t))
            tests.push_back(*found);
    if (!tests.empty() && reportAction_)
        reportAction_(tests);
}

void TArchiveForm::OpenClick() {
    if (std::int64_t t = ChosenTest();
        t && OpenArchiveTest(archive_, t, commands_, session_, prompts_))
        accept();
}

void TArchiveForm::CompareClick() {
    if (std::int64_t t = ChosenTest();
        t && CompareWithBaseline(archive_, t, session_, commands_, compare_, display_, prompts_))
        accept();
}

void TArchiveForm::BaselineClick() {
    if (std::int64_t t = ChosenTest(); t && MarkAsBaseline(archive_, t, prompts_))
        Refresh();
}

void TArchiveForm::RemoveClick() {
    if (std::int64_t t = ChosenTest(); t && RemoveFromArchive(archive_, t, prompts_))
        Refresh();
}

} // namespace r470
