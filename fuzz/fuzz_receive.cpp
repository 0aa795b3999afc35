// The receive state machine fed whatever the line brings, in chunks of any size between
// polls: it must never store past the transfer buffer, must end only as the transfer
// rules allow, and must hand over exactly the bytes it counted.
#include "instrument/data_transfer.h"
#include "shell/prompts.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <vector>

namespace {

class ChunkPort : public r470::SerialPort {
  public:
    std::deque<std::uint8_t> waiting;
    bool open = false;
    int OpenCommPort(int, int, char, int, int) override {
        open = true;
        return 3;
    }
    int CommInCount(int, std::uint32_t& errors) override {
        errors = 0;
        return static_cast<int>(waiting.size());
    }
    int CommOutCount(int, std::uint32_t& errors) override {
        errors = 0;
        return 0;
    }
    int CommRead(int, std::span<std::uint8_t> into) override {
        std::size_t n = std::min(into.size(), waiting.size());
        for (std::size_t i = 0; i < n; ++i) {
            into[i] = waiting.front();
            waiting.pop_front();
        }
        return static_cast<int>(n);
    }
    int CommWrite(int, std::span<const std::uint8_t> from) override {
        return static_cast<int>(from.size());
    }
    int CloseCommPort(int) override {
        open = false;
        return 0;
    }
};

class StillClock : public r470::Clock {
  public:
    std::int64_t NowUs() override { return t; }
    void SleepUntilUs(std::int64_t until) override { t = std::max(t, until); }
    std::int64_t t = 0;
};

class Quiet : public r470::Prompts {
  public:
    int ShowMessageBox(const std::string&, const std::string&, unsigned) override {
        return r470::IdOk;
    }
    int ShowMsgWindow(const std::string&) override { return r470::IdOk; }
    void Beep() override {}
};

class NoView : public r470::TransferView {
  public:
    void SetMessage(const std::string&) override {}
    void SetButtons(bool, bool) override {}
    void SetProgressMax(int) override {}
    void SetProgress(int) override {}
};

} // namespace

// Input: pairs of a chunk length (two bytes, scaled up so that big transmissions are
// reached) and the chunk's bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ChunkPort port;
    StillClock clock;
    Quiet prompts;
    NoView view;
    r470::DataTransfer t(port, clock, prompts, view);
    std::vector<std::uint8_t> saved;
    bool wrote = false;
    t.Writer = [&](const std::string&, const std::function<int(r470::ByteSink&)>& body) {
        r470::VectorSink sink;
        int e = body(sink);
        saved = sink.data;
        wrote = true;
        return e;
    };
    t.TransferMode = r470::ModeReceive;
    t.FormShow();
    if (t.StartClick() != r470::kTransferRunning)
        std::abort();
    std::vector<std::uint8_t> sent;
    std::size_t at = 0;
    int result = r470::kTransferRunning;
    while (result == r470::kTransferRunning && at < size) {
        std::size_t len = data[at++];
        if (at < size)
            len = len * 64 + data[at++];
        len = std::min(len, size - at);
        port.waiting.insert(port.waiting.end(), data + at, data + at + len);
        sent.insert(sent.end(), data + at, data + at + len);
        at += len;
        result = t.TimerTimer();
        if (t.ReceivedCount < 0 || t.ReceivedCount > static_cast<int>(r470::kTransferBufferSize))
            std::abort();
    }
    if (result == r470::kTransferRunning)
        result = t.TimerTimer(); // one more poll with nothing new changes nothing
    std::size_t n = static_cast<std::size_t>(t.ReceivedCount);
    if (!std::equal(t.TransferBuffer.begin(),
                    t.TransferBuffer.begin() + static_cast<std::ptrdiff_t>(n), sent.begin()))
        std::abort();
    if (result == r470::IdOk) {
        // Complete: 'H', an announced length reached, and exactly the counted bytes saved.
        if (n < 7 || sent[0] != 'H' || t.ExpectedLength <= 0 ||
            t.ReceivedCount < t.ExpectedLength || !wrote ||
            saved != std::vector<std::uint8_t>(sent.begin(),
                                               sent.begin() + static_cast<std::ptrdiff_t>(n)) ||
            port.open)
            std::abort();
    } else if (result == r470::IdCancel) {
        if (port.open)
            std::abort();
    } else if (n >= 7 && sent[0] != 'H') {
        std::abort(); // a bad start block must end the transfer
    }
    return 0;
}
