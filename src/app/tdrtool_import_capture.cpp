// tdrtool import-capture: the import of a captured transmission ("buffer.dat") into
// waveform files, without a window and without comments.
#include "app/tdrtool_cli.h"
#include "common/cp1252.h"
#include "common/file_io.h"
#include "instrument/import.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/trace_file.h"

#include <algorithm>
#include <memory>
#include <sstream>

namespace tdrtool {

namespace {

// The import's messages, one per line in its own words; the overwrite question answered
// by the option, every other box acknowledged.
class CapturePrompts : public r470::Prompts {
  public:
    explicit CapturePrompts(bool overwrite) : overwrite_(overwrite) {}
    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned flags) override {
        if ((flags & 0x0F) == r470::MbYesNoCancel) {
            std::cerr << r470::Cp1252ToUtf8(caption) << ": " << r470::Cp1252ToUtf8(text) << " "
                      << (overwrite_ ? "yes" : "skipped") << "\n";
            return overwrite_ ? r470::IdYes : r470::IdCancel;
        }
        std::cerr << r470::Cp1252ToUtf8(text) << "\n";
        return r470::IdOk;
    }
    int ShowMsgWindow(const std::string& text) override {
        std::cerr << r470::Cp1252ToUtf8(text) << "\n";
        return r470::IdOk;
    }
    void Beep() override {}

  private:
    bool overwrite_;
};

std::optional<r470::MemoryFlags> ParseMemories(const std::string& text) {
    r470::MemoryFlags f{};
    if (text == "all") {
        f.fill(true);
        f[0] = false;
        return f;
    }
    std::stringstream in(text);
    std::string part;
    bool any = false;
    while (std::getline(in, part, ',')) {
        auto n = ParseNumber<int>(part);
        if (!n || *n < 1 || *n > r470::kMemories)
            return std::nullopt;
        f[static_cast<std::size_t>(*n)] = any = true;
    }
    return any ? std::optional(f) : std::nullopt;
}

// At most a transfer buffer's worth, as the replay of a capture takes it.
int ReadCapture(const std::string& path, std::vector<std::uint8_t>& bytes) {
    r470::InFile in;
    if (int e = in.Open(path); e != 0)
        return e;
    bytes.assign(r470::kTransferBufferSize, 0);
    std::size_t got = 0;
    while (got < bytes.size()) {
        std::size_t n = 0;
        if (int e = in.Read(std::span(bytes).subspan(got), n); e != 0)
            return e;
        if (n == 0)
            break;
        got += n;
    }
    bytes.resize(got);
    return 0;
}

} // namespace

std::string ImportCaptureHelp() {
    return "Usage: tdrtool import-capture CAPTURE --base PATH [--memories all|N,N,...]\n"
           "                              [--overwrite yes|no]\n"
           "Runs the import's checks and saving on a captured transmission (such as\n"
           "buffer.dat) and writes one waveform file per chosen valid memory, named like\n"
           "the window's import names them: PATH with the two-digit memory number before\n"
           "its extension (\".KEL\" is added when PATH's file name has none). No comments\n"
           "are added. The import's messages go to standard error; the files written are\n"
           "listed on standard output. An existing file is skipped unless --overwrite yes.\n"
           "--memories defaults to all. Exit status 0 when at least one valid memory was\n"
           "found and every chosen one was written, 1 otherwise.\n";
}

int RunImportCapture(const Args& args) {
    std::string capture, base;
    r470::MemoryFlags chosen{};
    bool all = true, overwrite = false;
    OptionReader opts(args);
    while (!opts.Done()) {
        if (IsHelp(opts.Peek())) {
            std::cout << ImportCaptureHelp();
            return kExitOk;
        }
        bool dashes = opts.Peek() == "--";
        if (dashes || !opts.Peek().starts_with("--")) {
            if (dashes) {
                opts.NextName();
                if (opts.Done())
                    break;
            }
            std::string a = opts.NextName();
            if (!capture.empty())
                return UsageError("import-capture", "more than one capture given",
                                  ImportCaptureHelp());
            capture = a;
            continue;
        }
        std::string name = opts.NextName();
        std::optional<std::string> value = opts.Value();
        if (!value)
            return UsageError("import-capture", name + " needs a value", ImportCaptureHelp());
        if (name == "--base") {
            base = *value;
        } else if (name == "--memories") {
            auto f = ParseMemories(*value);
            if (!f)
                return UsageError("import-capture",
                                  "--memories takes \"all\" or numbers 1 to 48 with commas",
                                  ImportCaptureHelp());
            all = *value == "all";
            chosen = *f;
        } else if (name == "--overwrite") {
            if (*value != "yes" && *value != "no")
                return UsageError("import-capture", "--overwrite takes yes or no",
                                  ImportCaptureHelp());
            overwrite = *value == "yes";
        } else {
            return UsageError("import-capture", "unknown option \"" + name + "\"",
                              ImportCaptureHelp());
        }
    }
    if (capture.empty())
        return UsageError("import-capture", "no capture given", ImportCaptureHelp());
    if (base.empty() || base.back() == '/')
        return UsageError("import-capture", "--base needs a file name", ImportCaptureHelp());
    if (r470::BaseName(base).find('.') == std::string::npos)
        base += r470::kWaveformExtension;

    std::vector<std::uint8_t> bytes;
    if (int e = ReadCapture(capture, bytes); e != 0) {
        std::cerr << "tdrtool import-capture: " << capture << ": "
                  << r470::Cp1252ToUtf8(r470::IoErrorText(e)) << "\n";
        return kExitFailed;
    }

    CapturePrompts prompts(overwrite);
    auto notes = std::make_unique<r470::ImportNotes>();
    r470::MemoryFlags received{};
    if (r470::CheckTransmission(bytes, *notes, received, prompts) == 0) {
        prompts.ShowMessageBox(r470::MessageText(101), r470::MessageText(r470::MsgProblem),
                               r470::MbOk);
        return kExitFailed;
    }
    if (all)
        chosen = received;
    int status = kExitOk;
    r470::MemoryFlags selected{};
    for (int n = 1; n <= r470::kMemories; ++n) {
        auto i = static_cast<std::size_t>(n);
        selected[i] = chosen[i] && received[i];
        if (chosen[i] && !received[i]) {
            std::cerr << "Memory " << n << " was not received valid\n";
            status = kExitFailed;
        }
    }
    r470::SaveOutcome out = r470::SaveTransmission(
        bytes, *notes, selected, base, prompts, [](const std::string&) { return std::string(); });
    for (const std::string& f : out.files)
        std::cout << f << "\n";
    for (int n = 1; n <= r470::kMemories; ++n) {
        auto i = static_cast<std::size_t>(n);
        if (selected[i] && (out.missed[i] || !out.written[i]))
            status = kExitFailed;
    }
    return status;
}

} // namespace tdrtool
