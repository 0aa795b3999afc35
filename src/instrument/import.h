// The import of a received transmission into waveform files: the checking pass decides
// which memories are offered, the user picks and comments them, the saving pass writes
// one file per chosen memory. Everything works on a byte span and never reads past it.
#pragma once

#include "common/file_io.h"
#include "instrument/transfer_format.h"
#include "waveform/trace_records.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace r470 {

class Prompts;
class CommentDialogs;

constexpr int kMemories = 48;

// Per memory number 1 to 48; element 0 is unused.
using MemoryFlags = std::array<bool, kMemories + 1>;
using ImportNotes = std::array<TraceNotes, kMemories + 1>;

// One memory record where it lies in the transmission.
struct ReceivedRecord {
    TraceHeader header;        // head and tail as received, extension or zeros
    std::size_t samplesAt = 0; // index of the first sample
    bool hasExtension = false;
    std::size_t next = 0; // index where the following record starts
};

enum class RecordFit {
    Fits,
    NoHead, // not even a whole head is left: nothing more to read
    Broken, // a head, but more than 2048 samples or a record reaching past the bytes
};

// Reads the record starting at index `at`. An extension is present when its three bytes
// are there, the first is not 'M' and, when `length` is given (the saving pass), the byte
// after the tail lies before that 1-based position.
RecordFit ReadMemoryRecord(std::span<const std::uint8_t> buffer, std::size_t at,
                           std::optional<std::uint32_t> length, ReceivedRecord& out);

// Marker 'M', dielectric 300 to 999, no sample above MaxSample, and room for the 1 the
// import adds to Gain and InstCursor.
bool RecordValid(std::span<const std::uint8_t> buffer, const ReceivedRecord& record);

// The header a saved memory gets.
TraceHeader CompleteHeader(const TraceHeader& received);

// "Memory location 7 contains invalid data".
std::string InvalidMemoryText(int memNo);

// The file for memory `memNo`: the two-digit number right before the file name's own
// extension, or at its end when it has none. Folders in the path are never touched.
std::string ImportFileName(const std::string& base, int memNo);

// The checking pass: reports each invalid record, notes which memories arrived valid and
// takes their date, time and cable ID into `notes`. Returns the number of valid records.
int CheckTransmission(std::span<const std::uint8_t> buffer, ImportNotes& notes,
                      MemoryFlags& received, Prompts& prompts);

// Asks for a file name with `proposed` preset; empty when the user cancels.
using NameAsker = std::function<std::string(const std::string& proposed)>;

struct SaveOutcome {
    MemoryFlags written{}; // a file was written for the memory
    MemoryFlags missed{};  // a file for the memory was skipped or failed
    std::vector<std::string> files;
};

// The saving pass: one file per record of a selected memory, with the overwrite question
// and "Error saving" on a failed write. A failed write leaves any earlier file as it was.
SaveOutcome SaveTransmission(std::span<const std::uint8_t> buffer, const ImportNotes& notes,
                             const MemoryFlags& selected, const std::string& base, Prompts& prompts,
                             const NameAsker& askName, const FileWriter& writer = WriteFileSafely);

// The comment step; false when the user cancelled the import there.
bool EditImportComments(ImportNotes& notes, const MemoryFlags& selected, Prompts& prompts,
                        CommentDialogs& dialogs);

// The base file name; empty when the user abandons the transfer.
std::string AskBaseName(Prompts& prompts, const NameAsker& askName);

// Where the chosen memories go: a waveform file each, or into the cable archive.
enum class ImportTarget { Files, Archive };

// The memory selection window: shows the boxes of `received`, answers the checked ones on
// "&Ok" and nothing on "&Cancel".
class MemoryChooser {
  public:
    virtual ~MemoryChooser() = default;
    virtual std::optional<MemoryFlags> ChooseMem(const MemoryFlags& received) = 0;
    // The same with the destination offered beside the boxes: `target` is shown and, on
    // "&Ok", the user's choice. A chooser without that choice keeps it.
    virtual std::optional<MemoryFlags> ChooseMemTo(const MemoryFlags& received,
                                                   ImportTarget& target) {
        (void)target;
        return ChooseMem(received);
    }
};

// One chosen memory's waveform, byte for byte the file the import would write.
struct ImportedWaveform {
    int memNo = 0;
    std::string fileName; // "MEM07.KEL"
    std::string cableId;  // as received or edited, Windows-1252
    std::vector<std::uint8_t> bytes;
};

// The chosen memories' waveforms, one per record of a selected memory, in the order sent.
std::vector<ImportedWaveform> ImportedWaveforms(std::span<const std::uint8_t> buffer,
                                                const ImportNotes& notes,
                                                const MemoryFlags& selected);

// Files the chosen memories somewhere other than waveform files.
class ImportFiler {
  public:
    enum Outcome {
        Done,       // filed, or the user stopped: either way nothing more to do
        WriteFiles, // nothing was filed and the user asked for files instead
    };
    virtual ~ImportFiler() = default;
    virtual Outcome File(const std::vector<ImportedWaveform>& waveforms) = 0;
};

// What the main window keeps between imports.
struct ImportState {
    MemoryFlags MemReceived{};
    MemoryFlags MemSelected{};
    ImportTarget target = ImportTarget::Files; // the last choice, offered again
};

// Everything after a completed receive: checks, choice, comments, name, files. With a
// `filer` the selection window also offers the archive as the destination.
void ImportTransmission(std::span<const std::uint8_t> buffer, ImportState& state, Prompts& prompts,
                        MemoryChooser& chooser, CommentDialogs& dialogs, const NameAsker& askName,
                        const FileWriter& writer = WriteFileSafely, ImportFiler* filer = nullptr);

// The selection window's state without its window: 48 boxes, the visible ones those
// received, and the "Select all" toggle with one remembered state per box.
class MemorySelection {
  public:
    void Reset(const MemoryFlags& received);
    void SelAllClick();
    void SetChecked(int n, bool checked);
    bool Visible(int n) const { return visible_.at(static_cast<std::size_t>(n)); }
    bool Checked(int n) const { return checked_.at(static_cast<std::size_t>(n)); }
    const std::string& SelAllCaption() const { return caption_; }
    MemoryFlags Selected() const;

  private:
    MemoryFlags visible_{};
    MemoryFlags checked_{};
    MemoryFlags remembered_{};
    std::string caption_;
};

extern const char* const kSelectAllText;
extern const char* const kUnselectAllText;

// "Mem 07": the caption of memory 7's box.
std::string MemBoxCaption(int n);

} // namespace r470
