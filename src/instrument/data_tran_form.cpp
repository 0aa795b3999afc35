#include "instrument/data_tran_form.h"

#include "shell/prompts.h"
#include "shell/text_qt.h"
#include "ui_data_tran_form.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace r470 {

TDataTranForm::TDataTranForm(SerialPort& port, Clock& clock, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TDataTranForm>()),
      transfer_(port, clock, prompts, *this) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    ui_->Load->hide();
    timer_.setInterval(kPollIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &TDataTranForm::TimerTimer);
    connect(ui_->Start, &QPushButton::clicked, this, &TDataTranForm::StartClick);
    connect(ui_->Cancel, &QPushButton::clicked, this, &TDataTranForm::CancelClick);
    connect(ui_->Load, &QPushButton::clicked, this, &TDataTranForm::LoadClick);
}

TDataTranForm::~TDataTranForm() = default;

int TDataTranForm::Receive(int commPort, const std::string& bufferFile) {
    transfer_.TransferMode = ModeReceive;
    transfer_.CommPort = commPort;
    transfer_.BufferFile = bufferFile;
    return Run();
}

int TDataTranForm::Send(int commPort, const WaveformSet& set,
                        const std::array<int, 5>& exportMemory) {
    transfer_.TransferMode = ModeSend;
    transfer_.CommPort = commPort;
    transfer_.SetExport(set, exportMemory);
    return Run();
}

int TDataTranForm::Run() {
    result_ = IdCancel;
    transfer_.FormShow();
    timer_.stop();
    exec();
    timer_.stop();
    transfer_.Abandon(); // nothing stays open whatever ended the window
    return result_;
}

void TDataTranForm::Apply(int result) {
    if (transfer_.TimerEnabled())
        timer_.start();
    else
        timer_.stop();
    if (result == kTransferRunning)
        return;
    result_ = result;
    done(result == IdOk ? QDialog::Accepted : QDialog::Rejected);
}

void TDataTranForm::StartClick() {
    sincePaint_.start();
    Apply(transfer_.StartClick());
}

void TDataTranForm::CancelClick() {
    if (transfer_.Sending())
        return;
    timer_.stop();
    Apply(transfer_.CancelClick());
}

void TDataTranForm::TimerTimer() {
    timer_.stop(); // steps never overlap, even when a message box runs a loop of its own
    Apply(transfer_.TimerTimer());
}

void TDataTranForm::LoadClick() {
    Apply(transfer_.LoadClick());
}

void TDataTranForm::reject() {
    if (ui_->Cancel->isEnabled())
        CancelClick();
}

void TDataTranForm::closeEvent(QCloseEvent* e) {
    e->ignore(); // left only through Start's outcome or Cancel
}

void TDataTranForm::SetMessage(const std::string& text) {
    ui_->Message->setText(ToQ(text));
}

void TDataTranForm::SetButtons(bool startEnabled, bool cancelEnabled) {
    ui_->Start->setEnabled(startEnabled);
    ui_->Cancel->setEnabled(cancelEnabled);
}

void TDataTranForm::SetProgressMax(int max) {
    ui_->Bar->setMaximum(max);
}

void TDataTranForm::SetProgress(int position) {
    ui_->Bar->setValue(std::min(position, ui_->Bar->maximum()));
    // Sending runs inside the Start click: let the window paint now and then, without
    // taking clicks or keys.
    if (transfer_.Sending() && sincePaint_.elapsed() >= 40) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sincePaint_.restart();
    }
}

} // namespace r470
