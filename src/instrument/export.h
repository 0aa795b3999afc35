// The export to the instrument without its window: the rows of the export form, the
// checks of its "&Ok" and the choice they leave for the send.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace r470 {

class Prompts;
class WaveformSet;

// Target memory per slot 1 to 4 (element 0 and 5 unused), 0 when none was given.
using ExportMemories = std::array<int, 5>;

// A memory box's text as a whole number: blanks around it allowed, an optional sign, digits.
std::optional<int> ParseMemoryNumber(const std::string& text);

struct ExportRow {
    std::string File; // the slot's file name, shown disabled
    bool Sel = false;
    std::string Mem;
};

// The export form's rows and the checks of its "&Ok".
class ExportForm {
  public:
    // Every row shows its slot's file name, unchecked, with an empty memory box.
    void Reset(const WaveformSet& set);
    ExportRow& Row(int i) { return rows_.at(static_cast<std::size_t>(i)); }
    const ExportRow& Row(int i) const { return rows_.at(static_cast<std::size_t>(i)); }

    // Checks the rows in order and reports the first failure; true when the form may
    // close with OK. Marks the slots and fills ExportMemory as far as it got.
    bool OkClick(WaveformSet& set, Prompts& prompts);

    const ExportMemories& ExportMemory() const { return memory_; }

  private:
    std::array<ExportRow, 5> rows_{};
    ExportMemories memory_{};
};

// The export form and the data transfer window in send mode, as the main window shows them.
class ExportWindows {
  public:
    virtual ~ExportWindows() = default;
    // Shows the form, which calls form.OkClick on "&Ok"; true when it closed with OK.
    virtual bool ShowExportForm(ExportForm& form) = 0;
    // Sends the marked slots; the transfer window reports what happened itself.
    virtual void SendToInstrument(const WaveformSet& set, const ExportMemories& memory) = 0;
};

// "To &instrument": the export from the guard to the send. `memory` is the choice that
// outlives the form, until the next export.
void MenuToInstClick(WaveformSet& set, ExportMemories& memory, Prompts& prompts,
                     ExportWindows& windows);

} // namespace r470
