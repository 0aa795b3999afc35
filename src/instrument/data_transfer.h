// One transfer over the instrument link, as the data transfer window runs it: receiving a
// transmission into the transfer buffer, one poll per timer tick, or sending the marked
// waveform slots byte by byte. The window (or tdrtool) forwards its clicks and ticks here
// and shows what the view is told.
#pragma once

#include "common/file_io.h"
#include "instrument/clock.h"
#include "instrument/serial_port.h"
#include "instrument/transfer_format.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace r470 {

class Prompts;
class WaveformSet;

// The slots a send carries, in slot order: 1 to 4, each marked and given a memory above 0.
// The transfer and tdrtool encode both pick them here, so their bytes cannot differ.
std::vector<ExportItem> MarkedExportItems(const WaveformSet& set,
                                          const std::array<int, 5>& exportMemory);

// What the transfer window shows.
class TransferView {
  public:
    virtual ~TransferView() = default;
    virtual void SetMessage(const std::string& text) = 0;
    virtual void SetButtons(bool startEnabled, bool cancelEnabled) = 0;
    virtual void SetProgressMax(int max) = 0;
    virtual void SetProgress(int position) = 0;
};

enum TransferModeKind : int { ModeReceive = 1, ModeSend = 2 };

// Modal results of the steps: still running, or how the window closes.
constexpr int kTransferRunning = 0;

constexpr int kPollIntervalMs = 100;
constexpr std::int64_t kPaceUs = 1000;          // at least this long after every byte sent
constexpr std::int64_t kDrainBoundUs = 2000000; // the longest wait for an empty transmit queue
constexpr std::int64_t kDrainPollUs = 200;

class DataTransfer {
  public:
    DataTransfer(SerialPort& port, Clock& clock, Prompts& prompts, TransferView& view);
    ~DataTransfer();
    DataTransfer(const DataTransfer&) = delete;
    DataTransfer& operator=(const DataTransfer&) = delete;

    // Set by the caller before FormShow.
    int TransferMode = ModeReceive;
    int CommPort = 2;
    std::string BufferFile = "buffer.dat";
    FileWriter Writer = WriteFileSafely;
    // Sending: the slots (1 to 4 take part when marked and given a memory above 0).
    void SetExport(const WaveformSet& set, const std::array<int, 5>& exportMemory);

    // The window's handlers; each answers kTransferRunning, IdOk or IdCancel.
    void FormShow();
    int StartClick();
    int TimerTimer();
    int CancelClick();
    int LoadClick();
    // Ends at once without asking (the program closing, Ctrl-C in a terminal).
    int Abandon();

    bool TimerEnabled() const { return timerEnabled_; }
    bool Sending() const { return sending_; }

    // The received transmission: TransferBuffer[0 .. ReceivedCount).
    std::vector<std::uint8_t> TransferBuffer;
    int PortHandle = -1;
    std::int32_t ExpectedLength = 0;
    std::array<std::uint8_t, kStartBlockSize> StartBlock{};
    std::int32_t ReceivedCount = 0;
    bool WithExtension = false;
    std::int32_t Checksum = 0;

    // The paced sender; false when the line would not take the byte within the bound.
    bool SendChar(std::uint8_t b);
    bool SendChars(std::span<const std::uint8_t> bytes);
    bool SendMemory(int slot);
    bool SendChecksum();
    int SendTraces();

    // The taking-part slots in slot order.
    std::vector<ExportItem> ExportItems() const;

  private:
    void ClosePort();
    void Problem(const std::string& text);
    int Fail(const std::string& text);
    int Complete();
    void StepProgress();
    void SetProgressMax(int max);

    SerialPort& port_;
    Clock& clock_;
    Prompts& prompts_;
    TransferView& view_;
    const WaveformSet* set_ = nullptr;
    std::array<int, 5> exportMemory_{};
    bool timerEnabled_ = false;
    bool sending_ = false;
    int progress_ = 0;
};

} // namespace r470
