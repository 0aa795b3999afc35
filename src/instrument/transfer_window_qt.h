// The data transfer window as the instrument commands see it.
#pragma once

#include "instrument/data_tran_form.h"
#include "instrument/instrument_commands.h"

namespace r470 {

class QtTransferWindow : public TransferWindow {
  public:
    explicit QtTransferWindow(TDataTranForm& form) : form_(form) {}
    std::optional<std::vector<std::uint8_t>> Receive(int commPort) override;
    void Send(const WaveformSet& set, const ExportMemories& memory, int commPort) override;

  private:
    TDataTranForm& form_;
};

} // namespace r470
