#include "archive/archive_form.h"

#include "archive/archive_commands.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

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
      display_(display), prompts_(prompts) {
    setWindowTitle("Cable archive");
    setObjectName("TArchiveForm");
    auto* top = new QHBoxLayout;
    search_ = new QLineEdit;
    search_->setObjectName("Search");
    search_->setPlaceholderText("Site, cable or note");
    fromOn_ = new QCheckBox("From");
    toOn_ = new QCheckBox("To");
    from_ = new QDateEdit(QDate::currentDate().addYears(-1));
    to_ = new QDateEdit(QDate::currentDate());
    for (QDateEdit* d : {from_, to_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat("yyyy-MM-dd");
    }
    top->addWidget(new QLabel("Search:"));
    top->addWidget(search_, 1);
    top->addWidget(fromOn_);
    top->addWidget(from_);
    top->addWidget(toOn_);
    top->addWidget(to_);

    tree_ = new QTreeWidget;
    tree_->setObjectName("Tests");
    tree_->setColumnCount(static_cast<int>(kBrowserColumns.size()));
    QStringList captions;
    for (const char* c : kBrowserColumns)
        captions << c;
    tree_->setHeaderLabels(captions);
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto* buttons = new QHBoxLayout;
    open_ = new QPushButton("&Open");
    compareButton_ = new QPushButton("&Compare with baseline");
    baseline_ = new QPushButton("Mark as &baseline");
    remove_ = new QPushButton("&Remove");
    report_ = new QPushButton("Re&port...");
    report_->setVisible(false);
    auto* close = new QPushButton("C&lose");
    for (QPushButton* b : {open_, compareButton_, baseline_, remove_, report_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(tree_, 1);
    all->addLayout(buttons);
    resize(820, 480);

    connect(search_, &QLineEdit::textChanged, this, &TArchiveForm::Refresh);
    for (QCheckBox* c : {fromOn_, toOn_})
        connect(c, &QCheckBox::toggled, this, &TArchiveForm::Refresh);
    for (QDateEdit* d : {from_, to_})
        connect(d, &QDateEdit::dateChanged, this, &TArchiveForm::Refresh);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &TArchiveForm::ChoiceChanged);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, &TArchiveForm::OpenClick);
    connect(open_, &QPushButton::clicked, this, &TArchiveForm::OpenClick);
    connect(compareButton_, &QPushButton::clicked, this, &TArchiveForm::CompareClick);
    connect(baseline_, &QPushButton::clicked, this, &TArchiveForm::BaselineClick);
    connect(remove_, &QPushButton::clicked, this, &TArchiveForm::RemoveClick);
    connect(report_, &QPushButton::clicked, this, &TArchiveForm::ReportClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    Refresh();
}

void TArchiveForm::Refresh() {
    std::int64_t chosen = ChosenTest();
    tree_->clear();
    std::vector<ArchiveTest> tests = archive_.List(
        BrowserFilter(search_->text().toStdString(), IsoOf(fromOn_, from_), IsoOf(toOn_, to_)));
    QTreeWidgetItem* site = nullptr;
    QTreeWidgetItem* cable = nullptr;
    rows_ = BrowserRows(tests);
    for (const BrowserRow& r : rows_) {
        QStringList texts;
        for (const std::string& c : r.columns)
            texts << Utf8(c);
        if (r.level == BrowserRow::Site) {
            site = new QTreeWidgetItem(tree_, texts);
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
    for (int c = 0; c < tree_->columnCount(); ++c)
        tree_->resizeColumnToContents(c);
    ChooseTest(chosen);
    ChoiceChanged();
}

std::int64_t TArchiveForm::ChosenTest() const {
    QTreeWidgetItem* item = tree_->currentItem();
    return item ? item->data(0, Qt::UserRole).toLongLong() : 0;
}

void TArchiveForm::ChooseTest(std::int64_t test) {
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toLongLong() == test && test != 0)
            tree_->setCurrentItem(*it);
}

void TArchiveForm::ChoiceChanged() {
    bool test = ChosenTest() != 0;
    for (QPushButton* b : {open_, compareButton_, baseline_, remove_})
        b->setEnabled(test && !(archive_.ReadOnly() && (b == baseline_ || b == remove_)));
    report_->setEnabled(!tree_->selectedItems().isEmpty());
}

std::vector<std::int64_t> TArchiveForm::SelectedTests() const {
    // The tree's items are the rows in order.
    std::vector<bool> chosen;
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        chosen.push_back((*it)->isSelected());
    return TestsOfRows(rows_, chosen);
}

void TArchiveForm::SetReportAction(ReportAction action) {
    reportAction_ = std::move(action);
    report_->setVisible(static_cast<bool>(reportAction_));
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
