// The data transfer window: runs one receive or one send through the transfer core,
// showing the instruction, the progress bar, Start and Cancel.
#pragma once

#include "instrument/data_transfer.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

namespace Ui {
class TDataTranForm;
}

namespace r470 {

class TDataTranForm : public QDialog, private TransferView {
    Q_OBJECT
  public:
    TDataTranForm(SerialPort& port, Clock& clock, Prompts& prompts, QWidget* parent = nullptr);
    ~TDataTranForm() override;
    Ui::TDataTranForm& ui() { return *ui_; }
    DataTransfer& Transfer() { return transfer_; }

    // Runs the window modally; IdOk when the transfer completed, IdCancel otherwise. After
    // a receive the bytes are Transfer().TransferBuffer[0 .. ReceivedCount), also in
    // `bufferFile`.
    int Receive(int commPort, const std::string& bufferFile = "buffer.dat");
    // Sends the marked slots 1 to 4 whose exportMemory is above 0, in slot order.
    int Send(int commPort, const WaveformSet& set, const std::array<int, 5>& exportMemory);

    void StartClick();
    void CancelClick();
    void TimerTimer();
    void LoadClick();

  protected:
    void reject() override; // Escape asks, as Cancel does
    void closeEvent(QCloseEvent* e) override;

  private:
    int Run();
    void Apply(int result);
    void SetMessage(const std::string& text) override;
    void SetButtons(bool startEnabled, bool cancelEnabled) override;
    void SetProgressMax(int max) override;
    void SetProgress(int position) override;

    std::unique_ptr<Ui::TDataTranForm> ui_;
    DataTransfer transfer_;
    QTimer timer_;
    QElapsedTimer sincePaint_;
    int result_ = 2; // Cancel until a transfer completes
};

} // namespace r470
