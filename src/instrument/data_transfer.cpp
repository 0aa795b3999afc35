#include "instrument/data_transfer.h"

#include "instrument/serial_port.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/waveform_set.h"

#include <algorithm>

namespace r470 {
namespace {

// Catalogue lines of the transfer.
constexpr int kMsgCancelTransfer = 41;
constexpr int kMsgPressSend1 = 70, kMsgPressSend2 = 71;
constexpr int kMsgPressReceive1 = 72, kMsgPressReceive2 = 73;
constexpr int kMsgInvalidData = 124;
constexpr int kMsgTransferFailed = 136;
constexpr int kMsgErrorSaving = 105;

std::string TooLargeText() {
    return MessageText(kMsgTransferFailed) + ": the transmission is larger than " +
           std::to_string(kTransferBufferSize) + " bytes";
}

std::string DataLostText() {
    return MessageText(kMsgTransferFailed) +
           ": data was lost on the line (not read in time); nothing was saved. "
           "Send again from the instrument.";
}

// What slot `slot` sends: its header and samples into its export memory.
ExportItem SlotItem(const WaveformSet& set, const std::array<int, 5>& exportMemory, int slot) {
    const TraceSlot& s = set.Slot(slot);
    return {&s.data.header, s.data.samples, exportMemory[static_cast<std::size_t>(slot)]};
}

bool TakesPart(const WaveformSet& set, const std::array<int, 5>& exportMemory, int slot) {
    return set.Slot(slot).SlotMarked && exportMemory[static_cast<std::size_t>(slot)] > 0;
}

} // namespace

std::vector<ExportItem> MarkedExportItems(const WaveformSet& set,
                                          const std::array<int, 5>& exportMemory) {
    std::vector<ExportItem> items;
    for (int i = 1; i <= kFileSlots; ++i) {
        if (TakesPart(set, exportMemory, i))
            items.push_back(SlotItem(set, exportMemory, i));
    }
    return items;
}

DataTransfer::DataTransfer(SerialPort& port, Clock& clock, Prompts& prompts, TransferView& view)
    : TransferBuffer(kTransferBufferSize, 0), port_(port), clock_(clock), prompts_(prompts),
      view_(view) {}

DataTransfer::~DataTransfer() {
    ClosePort();
}

void DataTransfer::SetExport(const WaveformSet& set, const std::array<int, 5>& exportMemory) {
    set_ = &set;
    exportMemory_ = exportMemory;
}

void DataTransfer::FormShow() {
    ClosePort(); // a transfer left open by an earlier use never carries over
    view_.SetButtons(true, true);
    progress_ = 0;
    view_.SetProgress(0);
    timerEnabled_ = false;
    sending_ = false;
    view_.SetMessage(TransferMode == ModeReceive
                         ? std::string()
                         : MessageText(kMsgPressSend1) + " " + MessageText(kMsgPressSend2));
}

int DataTransfer::StartClick() {
    int h = port_.OpenCommPort(CommPort, kLineBaud, kLineParity, kLineDataBits, kLineStopBits);
    if (h < 0) {
        std::string detail = port_.LastOpenDetail();
        Problem(CommErrorText(h) + (detail.empty() ? "" : "\n" + detail));
        return IdCancel;
    }
    PortHandle = h;
    if (TransferMode != ModeReceive)
        return SendTraces();
    view_.SetMessage(MessageText(kMsgPressReceive1) + " " + MessageText(kMsgPressReceive2));
    view_.SetButtons(false, true);
    timerEnabled_ = true;
    SetProgressMax(8);
    ReceivedCount = 0;
    ExpectedLength = 0;
    return kTransferRunning;
}

int DataTransfer::TimerTimer() {
    if (!timerEnabled_ || PortHandle < 0)
        return kTransferRunning;
    std::uint32_t errors = 0;
    int waiting = port_.CommInCount(PortHandle, errors);
    if (errors & kCommDeviceLost)
        return Fail(MessageText(kMsgTransferFailed));
    // The bytes that follow would never make up the announced length: said now, nothing kept.
    if (errors & kCommDataLost)
        return Fail(DataLostText());
    if (waiting <= 0)
        return kTransferRunning;
    timerEnabled_ = false;

    const int room = static_cast<int>(kTransferBufferSize) - ReceivedCount;
    const int take = std::min(waiting, room);
    int got = take > 0
                  ? port_.CommRead(PortHandle, std::span(TransferBuffer)
                                                   .subspan(static_cast<std::size_t>(ReceivedCount),
                                                            static_cast<std::size_t>(take)))
                  : 0;
    got = std::clamp(got, 0, take);
    for (int i = 0; i < got; ++i) {
        ++ReceivedCount;
        StepProgress();
        if (ReceivedCount == static_cast<int>(kStartBlockSize)) {
            std::copy_n(TransferBuffer.begin(), kStartBlockSize, StartBlock.begin());
            r470::StartBlock s = *DecodeStartBlock(StartBlock);
            if (s.marker != kStartMarker)
                return Fail(MessageText(kMsgInvalidData));
            // Refused now rather than after a minute of line time.
            if (s.length > kTransferBufferSize)
                return Fail(TooLargeText());
            ExpectedLength = static_cast<std::int32_t>(s.length);
            SetProgressMax(ExpectedLength);
            progress_ = 0;
            view_.SetProgress(0);
        }
    }
    if (ExpectedLength > 0 && ReceivedCount >= ExpectedLength)
        return Complete();
    if (waiting > room)
        return Fail(TooLargeText());
    timerEnabled_ = true;
    return kTransferRunning;
}

int DataTransfer::Complete() {
    ClosePort();
    const std::span<const std::uint8_t> bytes(TransferBuffer.data(),
                                              static_cast<std::size_t>(ReceivedCount));
    int e = Writer(BufferFile, [&](ByteSink& sink) { return sink.Write(bytes); });
    if (e != 0) {
        Problem(MessageText(kMsgErrorSaving) + " " + BufferFile + ": " + IoErrorText(e));
        return IdCancel;
    }
    return IdOk;
}

int DataTransfer::CancelClick() {
    bool wasRunning = timerEnabled_;
    timerEnabled_ = false;
    int answer = prompts_.ShowMessageBox(MessageText(kMsgCancelTransfer), MessageText(MsgConfirm),
                                         MbYesNo | MbIconQuestion);
    if (answer != IdYes) {
        timerEnabled_ = wasRunning;
        return kTransferRunning;
    }
    ClosePort();
    return IdCancel;
}

int DataTransfer::Abandon() {
    timerEnabled_ = false;
    ClosePort();
    return IdCancel;
}

int DataTransfer::LoadClick() {
    InFile in;
    int e = in.Open(BufferFile);
    std::size_t got = 0;
    if (e == 0)
        e = in.Read(TransferBuffer, got);
    if (e != 0) {
        Problem(IoErrorText(e));
        return kTransferRunning;
    }
    ReceivedCount = static_cast<std::int32_t>(got);
    return IdOk;
}

std::vector<ExportItem> DataTransfer::ExportItems() const {
    if (!set_)
        return {};
    return MarkedExportItems(*set_, exportMemory_);
}

bool DataTransfer::SendChar(std::uint8_t b) {
    const std::int64_t deadline = clock_.NowUs() + kDrainBoundUs;
    for (;;) {
        std::uint32_t errors = 0;
        int queued = port_.CommOutCount(PortHandle, errors);
        if (errors & kCommDeviceLost)
            return false;
        if (queued == 0) {
            int w = port_.CommWrite(PortHandle, std::span(&b, 1));
            if (w == 1)
                break;
            if (w < 0)
                return false;
        }
        if (clock_.NowUs() >= deadline)
            return false;
        clock_.SleepUs(kDrainPollUs);
    }
    Checksum += b;
    StepProgress();
    clock_.SleepUntilUs(clock_.NowUs() + kPaceUs);
    return true;
}

bool DataTransfer::SendChars(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) {
        if (!SendChar(b))
            return false;
    }
    return true;
}

bool DataTransfer::SendMemory(int slot) {
    if (!set_ || slot < 1 || slot > kFileSlots)
        return false;
    ExportItem item = SlotItem(*set_, exportMemory_, slot);
    return SendChars(EncodeMemoryRecord(ExportHeader(item), item.samples, WithExtension));
}

bool DataTransfer::SendChecksum() {
    Checksum %= 256;
    return SendChar(static_cast<std::uint8_t>(Checksum));
}

int DataTransfer::SendTraces() {
    sending_ = true;
    view_.SetButtons(false, false);
    Checksum = 0;
    std::vector<ExportItem> items = ExportItems();
    ExportPlan plan = PlanExport(items);
    WithExtension = plan.withExtension;
    ExpectedLength = static_cast<std::int32_t>(plan.length);
    SetProgressMax(ExpectedLength);
    bool ok = SendChars(EncodeStartBlock(plan.length, static_cast<std::uint16_t>(items.size())));
    for (int i = 1; ok && set_ && i <= kFileSlots; ++i) {
        if (TakesPart(*set_, exportMemory_, i))
            ok = SendMemory(i);
    }
    ok = ok && SendChecksum();
    sending_ = false;
    if (!ok)
        return Fail(MessageText(kMsgTransferFailed));
    prompts_.ShowMsgWindow("Complete");
    ClosePort();
    return IdOk;
}

void DataTransfer::ClosePort() {
    if (PortHandle >= 0)
        port_.CloseCommPort(PortHandle);
    PortHandle = -1;
}

void DataTransfer::Problem(const std::string& text) {
    prompts_.ShowMessageBox(text, MessageText(MsgProblem), MbOk);
}

int DataTransfer::Fail(const std::string& text) {
    timerEnabled_ = false;
    ClosePort(); // before the box: the port is free while the user reads it
    Problem(text);
    return IdCancel;
}

void DataTransfer::StepProgress() {
    ++progress_;
    view_.SetProgress(progress_);
}

void DataTransfer::SetProgressMax(int max) {
    view_.SetProgressMax(max);
}

} // namespace r470
