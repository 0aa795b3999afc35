#include "instrument/instrument_commands.h"

#include "waveform/workspace.h"

namespace r470 {

void InstrumentCommands::MenuImpInstClick() {
    if (!windows_.transfer)
        return;
    std::optional<std::vector<std::uint8_t>> bytes =
        windows_.transfer->Receive(session_.settings.CommPort);
    if (!bytes)
        return;
    UserOptions& options = session_.options;
    import_.target = options.importToArchive ? ImportTarget::Archive : ImportTarget::Files;
    ImportTransmission(*bytes, import_, prompts_, *windows_.memories, *windows_.comments,
                       windows_.askName, WriteFileSafely, windows_.filer);
    // The destination is offered again next time, in this run and the next.
    if (bool toArchive = import_.target == ImportTarget::Archive;
        toArchive != options.importToArchive) {
        options.importToArchive = toArchive;
        SaveUserOptions(UserOptionsPath(session_.paths), options);
    }
}

void InstrumentCommands::MenuToInstClick() {
    r470::MenuToInstClick(session_.set, exportMemory_, prompts_, *windows_.exportForm);
}

void InstrumentCommands::Send(const WaveformSet& set, const ExportMemories& memory) {
    if (windows_.transfer)
        windows_.transfer->Send(set, memory, session_.settings.CommPort);
}

void InstrumentCommands::MenuSelectClick() {
    if (std::optional<int> n = windows_.ports->ChoosePort(session_.settings.CommPort))
        session_.settings.CommPort = static_cast<std::int16_t>(*n);
}

} // namespace r470
