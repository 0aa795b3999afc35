#include "instrument/transfer_window_qt.h"

#include "shell/prompts.h"

namespace r470 {

std::optional<std::vector<std::uint8_t>> QtTransferWindow::Receive(int commPort) {
    if (form_.Receive(commPort) != IdOk)
        return std::nullopt;
    const DataTransfer& t = form_.Transfer();
    return std::vector<std::uint8_t>(t.TransferBuffer.begin(),
                                     t.TransferBuffer.begin() + t.ReceivedCount);
}

void QtTransferWindow::Send(const WaveformSet& set, const ExportMemories& memory, int commPort) {
    // The transfer window reports its own outcome.
    form_.Send(commPort, set, memory);
}

} // namespace r470
