// The three instrument commands of the main window, over the windows they show: the import
// ("&Import from instrument"), the export ("To &instrument") and the port choice
// ("&Select comms port"). What they keep between uses lives here.
#pragma once

#include "instrument/export.h"
#include "instrument/import.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace r470 {

struct Workspace;

// The data transfer window: a receive into the transfer buffer, or a send of the marked
// slots. Receive answers the bytes when it completed, nothing when cancelled or failed.
class TransferWindow {
  public:
    virtual ~TransferWindow() = default;
    virtual std::optional<std::vector<std::uint8_t>> Receive(int commPort) = 0;
    virtual void Send(const WaveformSet& set, const ExportMemories& memory, int commPort) = 0;
};

// The port window: the chosen number on OK, nothing on Cancel or with an empty list.
class PortChooser {
  public:
    virtual ~PortChooser() = default;
    virtual std::optional<int> ChoosePort(int commPort) = 0;
};

struct InstrumentWindows {
    TransferWindow* transfer = nullptr;
    MemoryChooser* memories = nullptr;
    CommentDialogs* comments = nullptr;
    ExportWindows* exportForm = nullptr;
    PortChooser* ports = nullptr;
    NameAsker askName;
    ImportFiler* filer = nullptr; // with one, the import offers the cable archive
};

class InstrumentCommands {
  public:
    InstrumentCommands(Workspace& session, Prompts& prompts, InstrumentWindows windows)
        : session_(session), prompts_(prompts), windows_(std::move(windows)) {}

    void MenuImpInstClick();
    void MenuToInstClick();
    void MenuSelectClick();

    const ImportState& Import() const { return import_; }
    const ExportMemories& ExportMemory() const { return exportMemory_; }
    // The send step the export form hands on to.
    void Send(const WaveformSet& set, const ExportMemories& memory);

  private:
    Workspace& session_;
    Prompts& prompts_;
    InstrumentWindows windows_;
    ImportState import_;
    ExportMemories exportMemory_{};
};

} // namespace r470
