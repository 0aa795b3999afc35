#include "waveform/files_form.h"

#include "shell/text_qt.h"
#include "ui_files_form.h"

#include <QAbstractItemView>
#include <QDir>
#include <QKeyEvent>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>

namespace r470 {

TFilesForm::TFilesForm(QWidget* parent) : TFilesForm(SystemUserRoots(), parent) {}

TFilesForm::TFilesForm(std::vector<std::string> roots, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TFilesForm>()), core_(std::move(roots)) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kFilesClientWidth, kFilesClientHeight);

    connect(ui_->Files, &QListWidget::itemSelectionChanged, this, [this] {
        auto rows = ui_->Files->selectionModel()->selectedRows();
        if (!rows.isEmpty())
            FilesClick(rows.first().row());
    });
    connect(ui_->Files, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { FilesDblClick(ui_->Files->row(item)); });
    connect(ui_->Folder, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { FolderDblClick(ui_->Folder->row(item)); });
    ui_->Folder->installEventFilter(this);
    connect(ui_->Drive, &QComboBox::activated, this, [this](int index) { DriveChange(index); });
    connect(ui_->Name, &QLineEdit::textEdited, this, [this](const QString& t) { NameChange(t); });
    connect(ui_->Ok, &QPushButton::clicked, this, [this] { OkClick(); });
    connect(ui_->Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
}

TFilesForm::~TFilesForm() = default;

void TFilesForm::Prepare(FileDialogMode mode, const std::string& folder, const std::string& name,
                         bool completeExtension) {
    core_.SetMode(mode);
    core_.SetFolder(folder);
    core_.SetNameText(name);
    core_.SetCompleteExtension(completeExtension);
    setResult(QDialog::Rejected);
}

FileDialogResult TFilesForm::Result() const {
    if (result() != QDialog::Accepted)
        return {};
    return {true, core_.ResultPath()};
}

FileDialogResult TFilesForm::ExecOpen(const std::string& folder) {
    Prepare(FileDialogMode::Open, folder, "", true);
    exec();
    return Result();
}

FileDialogResult TFilesForm::ExecSave(const std::string& folder, const std::string& proposedName,
                                      bool completeExtension) {
    Prepare(FileDialogMode::Save, folder, proposedName, completeExtension);
    exec();
    return Result();
}

std::optional<std::string> TFilesForm::ChooseOpen(const std::string& folder) {
    auto r = ExecOpen(folder);
    return r.ok ? std::optional(r.path) : std::nullopt;
}

std::optional<std::string> TFilesForm::ChooseSave(const std::string& folder,
                                                  const std::string& proposed,
                                                  bool completeExtension) {
    auto r = ExecSave(folder, proposed, completeExtension);
    return r.ok ? std::optional(r.path) : std::nullopt;
}

std::string TFilesForm::WorkingFolder() const {
    if (!core_.Folder().empty())
        return core_.Folder();
    // Before its first use the dialog starts in the current directory.
    return QDir::toNativeSeparators(QDir::currentPath()).toStdString();
}

void TFilesForm::SetWorkingFolder(const std::string& folder) {
    if (!folder.empty())
        core_.SetFolder(folder);
}

void TFilesForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TFilesForm::FormShow() {
    core_.FormShow();
    ShowMode();
    ShowPlaces();
    ShowFiles();
    ShowNameAndPreview();
    ui_->Name->setFocus();
    ui_->Name->selectAll();
}

void TFilesForm::FilesClick(int row) {
    core_.FilesClick(row);
    ShowNameAndPreview();
}

void TFilesForm::FilesDblClick(int row) {
    if (core_.FilesDblClick(row))
        accept();
    else
        ShowNameAndPreview();
}

void TFilesForm::OkClick() {
    if (core_.OkClick())
        accept();
}

void TFilesForm::CancelClick() {
    reject();
}

void TFilesForm::FolderDblClick(int row) {
    if (!core_.FolderChoose(row))
        return;
    ShowPlaces();
    ShowFiles();
    ShowNameAndPreview();
}

void TFilesForm::DriveChange(int index) {
    core_.DriveChoose(index);
    // Also after a failure: the selector goes back to the drive still in use.
    ShowPlaces();
    ShowFiles();
    ShowNameAndPreview();
}

void TFilesForm::NameChange(const QString& text) {
    core_.SetNameText(text.toStdString());
}

bool TFilesForm::eventFilter(QObject* watched, QEvent* e) {
    // Enter in the folder list opens the folder; it must not also confirm the dialog.
    if (watched == ui_->Folder && e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            FolderDblClick(ui_->Folder->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TFilesForm::ShowMode() {
    setWindowTitle(ToQ(core_.Caption()));
    int height = core_.ClientHeight();
    setFixedSize(kFilesClientWidth, height);
    ui_->InfoPanel->setVisible(core_.PreviewShown());
    ui_->ButtonBar->move(0, height - kFilesButtonBarHeight);
}

void TFilesForm::ShowPlaces() {
    {
        QSignalBlocker block(ui_->Drive);
        ui_->Drive->clear();
        for (const auto& text : core_.DriveTexts())
            ui_->Drive->addItem(QString::fromStdString(text));
        ui_->Drive->setCurrentIndex(core_.Drive());
        ui_->Drive->setToolTip(ui_->Drive->currentText());
        // Mount paths are longer than the selector is wide; the open list shows them whole.
        QAbstractItemView* view = ui_->Drive->view();
        view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth() + 4);
    }
    QSignalBlocker block(ui_->Folder);
    ui_->Folder->clear();
    QStyle* s = style();
    for (const auto& row : core_.Folders()) {
        QStyle::StandardPixmap icon = row.kind == FolderRowKind::Current ? QStyle::SP_DirOpenIcon
                                      : row.kind == FolderRowKind::Up
                                          ? QStyle::SP_FileDialogToParent
                                          : QStyle::SP_DirClosedIcon;
        auto* item = new QListWidgetItem(s->standardIcon(icon), QString::fromStdString(row.text),
                                         ui_->Folder);
        item->setToolTip(QString::fromStdString(row.path));
    }
    // The folder in use is the highlighted row.
    if (ui_->Folder->count() > 0)
        ui_->Folder->setCurrentRow(0);
    ui_->Folder->setToolTip(QString::fromStdString(core_.Folder()));
}

void TFilesForm::ShowFiles() {
    QSignalBlocker block(ui_->Files);
    ui_->Files->clear();
    for (const auto& f : core_.Files())
        ui_->Files->addItem(QString::fromStdString(f.shown));
    ui_->Ok->setEnabled(core_.OkEnabled());
}

void TFilesForm::ShowNameAndPreview() {
    {
        QSignalBlocker block(ui_->Files);
        int sel = core_.Selected();
        if (sel >= 0) {
            ui_->Files->setCurrentRow(sel);
        } else {
            ui_->Files->clearSelection();
            ui_->Files->setCurrentRow(-1);
        }
    }
    QString name = QString::fromStdString(core_.NameText());
    if (ui_->Name->text() != name)
        ui_->Name->setText(name);
    const FilePreview& p = core_.Preview();
    ui_->DateStr->setText(ToQ(p.date));
    ui_->TimeStr->setText(ToQ(p.time));
    ui_->CableID->setText(ToQ(p.cableId));
    for (QLineEdit* edit : {ui_->DateStr, ui_->TimeStr, ui_->CableID}) {
        edit->setCursorPosition(0);
        edit->setToolTip(edit->text());
    }
    QStringList lines;
    for (const auto& line : p.comments)
        lines << ToQ(line);
    ui_->Comments->setPlainText(lines.join('\n'));
}

} // namespace r470
