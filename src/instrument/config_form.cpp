#include "instrument/config_form.h"

#include "shell/prompts.h"
#include "shell/text_qt.h"
#include "ui_config_form.h"

#include <QDir>
#include <QFileDialog>
#include <QStyle>

namespace r470 {

TConfigForm::TConfigForm(Probe probe, PortMap map, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TConfigForm>()), probe_(std::move(probe)),
      map_(std::move(map)), prompts_(prompts) {
    ui_->setupUi(this);
    setFixedSize(size());
    ui_->Update->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ui_->Help->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    // A by-id name is for copying into the [Ports] section.
    ui_->Unusable->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(ui_->Update, &QToolButton::clicked, this, &TConfigForm::UpdateClick);
    connect(ui_->Help, &QToolButton::clicked, this, &TConfigForm::HelpClick);
    connect(ui_->PortBox, &QComboBox::currentIndexChanged, this, &TConfigForm::ShowDevice);
    connect(ui_->Ok, &QPushButton::clicked, this, &TConfigForm::OkClick);
    connect(ui_->Browse, &QPushButton::clicked, this, &TConfigForm::BrowseClick);
    connect(ui_->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TConfigForm::~TConfigForm() {
    if (worker_.joinable())
        worker_.join();
}

void TConfigForm::FormShow() {
    const bool archive = static_cast<bool>(CurrentArchive);
    for (QWidget* w : {static_cast<QWidget*>(ui_->LArchive),
                       static_cast<QWidget*>(ui_->ArchivePath), static_cast<QWidget*>(ui_->Browse)})
        w->setVisible(archive);
    if (archive) {
        ui_->ArchivePath->setText(QString::fromStdString(CurrentArchive()));
        ui_->ArchivePath->setPlaceholderText(QString::fromStdString(DefaultArchive));
        ui_->ArchivePath->setToolTip(QString("Empty: ") + QString::fromStdString(DefaultArchive));
    }
    FillPortBox();
}

void TConfigForm::OkClick() {
    if (CurrentArchive && AcceptArchive && !AcceptArchive(ui_->ArchivePath->text().toStdString())) {
        ui_->ArchivePath->setFocus();
        return;
    }
    accept();
}

void TConfigForm::BrowseClick() {
    QString start = ui_->ArchivePath->text().isEmpty() ? QString::fromStdString(DefaultArchive)
                                                       : ui_->ArchivePath->text();
    // A new name makes a new archive, so the file need not exist yet.
    QString chosen = QFileDialog::getSaveFileName(this, "Cable archive", start,
                                                  "Cable archives (*.sqlite);;All files (*)",
                                                  nullptr, QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty())
        ui_->ArchivePath->setText(QDir::toNativeSeparators(chosen));
}

void TConfigForm::UpdateClick() {
    FillPortBox();
}

void TConfigForm::FillPortBox() {
    if (Probing())
        return; // the list comes when the running probe ends
    if (BeforeProbe)
        BeforeProbe();
    std::packaged_task<std::vector<PortProbe>()> task(probe_);
    probing_ = task.get_future();
    if (worker_.joinable())
        worker_.join();
    worker_ = std::thread([this, task = std::move(task)]() mutable {
        task();
        QMetaObject::invokeMethod(
            this, [this] { ProbeDone(); }, Qt::QueuedConnection);
    });
    // A quick probe fills the list at once; a slow one leaves the window answering.
    if (probing_.wait_for(std::chrono::milliseconds(50)) == std::future_status::ready) {
        ProbeDone();
        return;
    }
    setCursor(Qt::BusyCursor);
    ui_->Ok->setEnabled(false);
    ui_->Update->setEnabled(false);
}

void TConfigForm::ProbeDone() {
    if (!Probing() || probing_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    probes_ = probing_.get();
    unsetCursor();
    ui_->Ok->setEnabled(true);
    ui_->Update->setEnabled(true);
    QSignalBlocker quiet(ui_->PortBox);
    ui_->PortBox->clear();
    const std::vector<PortProbe>& probes = probes_;
    std::vector<int> ports = ListedPorts(probes);
    for (int n : ports)
        ui_->PortBox->addItem(QString::number(n), n);
    ui_->PortBox->setCurrentIndex(PortBoxSelection(ports, CommPort));
    ShowDevice();

    ui_->LUnusable->setText(QString::fromStdString(PortInfoHeading(probes)));
    ui_->Unusable->setText(QString::fromStdString(PortInfoText(probes)));
}

void TConfigForm::ShowDevice() {
    int n = SelectedPort();
    // The probe read the [Ports] lines afresh: its device for the number comes first.
    std::string device = PortDeviceText(map_, n);
    for (const PortProbe& p : probes_)
        if (p.usable && p.portNo == n)
            device = p.device;
    ui_->Device->setText(n > 0 ? QString::fromStdString(device) : QString());
}

int TConfigForm::SelectedPort() const {
    return ui_->PortBox->currentIndex() < 0 ? 0 : ui_->PortBox->currentData().toInt();
}

void TConfigForm::HelpClick() {
    ShowInformation(prompts_, "Information", PortHelpText());
}

std::optional<int> TConfigForm::Choose(int commPort) {
    CommPort = commPort;
    FormShow();
    if (exec() != QDialog::Accepted || SelectedPort() == 0)
        return std::nullopt;
    return SelectedPort();
}

} // namespace r470
