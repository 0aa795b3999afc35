// tdrtool archive: the cable archive from the command line, one verb per function and one
// table of verbs. Each verb only reads its arguments and calls src/archive/.
#include "app/tdrtool_archive.h"

#include "archive/archive_export.h"
#include "archive/archive_platform.h"
#include "archive/archive_text.h"
#include "archive/waveform_facts.h"
#include "common/file_io.h"
#include "shell/messages.h"
#include "waveform/trace_info.h"

#include <iostream>
#include <map>
#include <set>

namespace tdrtool {

std::string ArchiveHelp() {
    return "Usage: tdrtool archive VERB [ARGS] [--db PATH]\n"
           "The cable archive: every waveform filed under its cable, each cable's baseline\n"
           "(its first test until another is marked) and every later test's first change\n"
           "since it, as \"events --reference\" finds it.\n"
           "  add FILE... [--cable ID] [--site S] [--end A|B] [--technician T] [--note TEXT]\n"
           "      [--json]                 file waveforms (the same bytes twice are one test)\n"
           "  list [--cable ID] [--site S] [--since DATE] [--changed] [--json]\n"
           "  show TEST [--json]           one test\n"
           "  get TEST --out FILE          the filed bytes, exactly\n"
           "  baseline TEST                mark a test as its cable's baseline\n"
           "  compare CABLE [--site S] [--json]   the latest test against the baseline\n"
           "  remove TEST                  a baseline with other tests stays until another\n"
           "                               is marked\n"
           "  import-folder DIR [--recursive] [--json]   every .KEL file under its cable ID\n"
           "  check                        integrity and every waveform's SHA-256\n"
           "  export DIR                   every test as DIR/SITE/CABLE/N-NAME.KEL, and\n"
           "                               DIR/index.csv\n"
           "  --db PATH    the archive file (default " +
           r470::DefaultArchivePath() +
           ")\n"
           "DATE is YYYY-MM-DD. Exit 0 on success (also \"already filed\"), 1 on a failure,\n"
           "2 on a usage error.\n";
}

int ArchiveFailed(const std::string& text) {
    std::cerr << "tdrtool archive: " << text << "\n";
    return kExitFailed;
}

std::unique_ptr<r470::CableArchive> OpenArchive(const std::string& db, bool readOnly) {
    std::string path = db.empty() ? r470::DefaultArchivePath() : db;
    if (path.empty()) {
        ArchiveFailed("no folder for the archive: give one with --db PATH");
        return nullptr;
    }
    std::string error;
    r470::ArchiveOpenOptions o;
    o.readOnly = readOnly;
    auto a = r470::CableArchive::Open(path, error, o);
    if (!a)
        ArchiveFailed(error);
    return a;
}

namespace {

// Options every verb may take, and the words (files, test numbers) it was given.
struct VerbArgs {
    Args words;
    std::string db;
    bool json = false;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
};

std::optional<int> ReadVerb(const char* verb, const Args& args,
                            std::initializer_list<const char*> valueOptions,
                            std::initializer_list<const char*> flagOptions, VerbArgs& v) {
    const std::string help = ArchiveHelp();
    return ReadArgs(args, help, &v.words,
                    [&](const std::string& name, OptionReader& r) -> std::optional<int> {
                        std::string where = std::string("archive ") + verb;
                        if (name == "--json") {
                            v.json = true;
                            return std::nullopt;
                        }
                        for (const char* f : flagOptions)
                            if (name == f) {
                                v.flags.insert(name);
                                return std::nullopt;
                            }
                        bool takes = name == "--db";
                        for (const char* o : valueOptions)
                            takes = takes || name == o;
                        if (!takes)
                            return UsageError(where, "unknown option \"" + name + "\"", help);
                        std::optional<std::string> value = r.Value();
                        if (!value)
                            return UsageError(where, "\"" + name + "\" needs a value", help);
                        if (name == "--db")
                            v.db = *value;
                        else
                            v.values[name] = *value;
                        return std::nullopt;
                    });
}

std::string Value(const VerbArgs& v, const char* name) {
    auto it = v.values.find(name);
    return it == v.values.end() ? std::string() : it->second;
}

// One test number, the verb's only word.
std::optional<std::int64_t> TestNumber(const char* verb, const VerbArgs& v, int& exit) {
    if (v.words.size() != 1) {
        exit = UsageError(std::string("archive ") + verb, "give one test number", ArchiveHelp());
        return std::nullopt;
    }
    auto n = ParseNumber<std::int64_t>(v.words[0], 1);
    if (!n)
        exit = UsageError(std::string("archive ") + verb, "bad test number \"" + v.words[0] + "\"",
                          ArchiveHelp());
    return n;
}

bool IsDate(const std::string& s) {
    return r470::IsoDate(s) == s;
}

std::string NumberList(const std::vector<std::int64_t>& v) {
    std::string s = "[";
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (i) // apart: GCC 12 at -O3 warns falsely on a literal + string&&
            s += ',';
        s += std::to_string(v[i]);
    }
    return s + "]";
}

} // namespace

// The outcome of a batch, as "add" and "import-folder" print it.
int ReportFiling(const std::vector<std::string>& files, const std::vector<r470::FilingOutcome>& out,
                 const std::vector<std::pair<std::string, std::string>>& unread, bool json) {
    std::vector<std::int64_t> added, already;
    int status = unread.empty() ? kExitOk : kExitFailed;
    for (const auto& [file, why] : unread)
        std::cerr << "tdrtool archive: " << file << ": " << why << "\n";
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (!out[i].problem.empty()) {
            std::cerr << "tdrtool archive: " << files[i] << ": " << out[i].problem << "\n";
            status = kExitFailed;
        } else if (out[i].already) {
            already.push_back(out[i].test);
            if (!json)
                std::cout << files[i] << ": already filed as test " << out[i].test << "\n";
        } else {
            added.push_back(out[i].test);
            if (!json)
                std::cout << files[i] << ": filed as test " << out[i].test << "\n";
        }
    }
    if (json)
        std::cout << "{\"added\":" << NumberList(added) << ",\"already\":" << NumberList(already)
                  << "}\n";
    return status;
}

namespace {

int Add(const Args& args) {
    VerbArgs v;
    if (auto end =
            ReadVerb("add", args, {"--cable", "--site", "--end", "--technician", "--note"}, {}, v))
        return *end;
    if (v.words.empty())
        return UsageError("archive add", "no waveform file given", ArchiveHelp());
    std::string end = Value(v, "--end");
    if (!end.empty() && end != "A" && end != "B")
        return UsageError("archive add", "the cable end is A or B", ArchiveHelp());
    std::vector<r470::FilingRequest> batch;
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> unread;
    for (const std::string& file : v.words) {
        r470::FilingRequest r;
        if (int rc = r470::ReadFileForFiling(file, r.bytes)) {
            unread.emplace_back(file, r470::FilingReadText(rc));
            continue;
        }
        r.fileName = r470::BaseName(file);
        r.cable = Value(v, "--cable");
        r.site = Value(v, "--site");
        r.end = end;
        r.technician = Value(v, "--technician");
        r.note = Value(v, "--note");
        batch.push_back(std::move(r));
        files.push_back(file);
    }
    auto archive = OpenArchive(v.db);
    if (!archive)
        return kExitFailed;
    std::vector<r470::FilingOutcome> out;
    if (!archive->File(batch, out))
        return ArchiveFailed(archive->Error());
    return ReportFiling(files, out, unread, v.json);
}

int List(const Args& args) {
    VerbArgs v;
    if (auto end = ReadVerb("list", args, {"--cable", "--site", "--since"}, {"--changed"}, v))
        return *end;
    if (!v.words.empty())
        return UsageError("archive list", "unexpected \"" + v.words[0] + "\"", ArchiveHelp());
    r470::ArchiveFilter f;
    f.cable = Value(v, "--cable");
    f.site = Value(v, "--site");
    f.bySite = v.values.count("--site") > 0;
    f.since = Value(v, "--since");
    f.changedOnly = v.flags.count("--changed") > 0;
    if (!f.since.empty() && !IsDate(f.since))
        return UsageError("archive list", "bad date \"" + f.since + "\" (YYYY-MM-DD)",
                          ArchiveHelp());
    auto archive = OpenArchive(v.db, true);
    if (!archive)
        return kExitFailed;
    std::vector<r470::ArchiveTest> tests = archive->List(f);
    if (v.json) {
        std::cout << "{\"tests\":[";
        for (std::size_t i = 0; i < tests.size(); ++i)
            std::cout << (i ? "," : "") << r470::ArchiveTestJson(tests[i]);
        std::cout << "]}\n";
    } else {
        for (const r470::ArchiveTest& t : tests)
            std::cout << r470::ArchiveTestLine(t) << "\n";
    }
    return kExitOk;
}

int Show(const Args& args) {
    VerbArgs v;
    if (auto end = ReadVerb("show", args, {}, {}, v))
        return *end;
    int exit = kExitOk;
    auto n = TestNumber("show", v, exit);
    if (!n)
        return exit;
    auto archive = OpenArchive(v.db, true);
    if (!archive)
        return kExitFailed;
    auto t = archive->Test(*n);
    if (!t)
        return ArchiveFailed("there is no test " + std::to_string(*n));
    if (v.json) {
        std::cout << r470::ArchiveTestJson(*t) << "\n";
        return kExitOk;
    }
    std::cout << "test:        " << t->test << "\nsite:        " << t->site
              << "\ncable:       " << t->cable << "\nend:         " << t->end
              << "\ndate:        " << t->date << " " << t->time << "\nfiled:       " << t->filed
              << "\ntechnician:  " << t->technician << "\nnote:        " << t->note
              << "\nfile:        " << t->fileName << "\nmemory:      " << t->memNo
              << "\nevents:      " << t->events << "\nchange:      " << r470::ChangeText(*t)
              << "\nsha256:      " << t->sha256 << "\n";
    return kExitOk;
}

int Get(const Args& args) {
    VerbArgs v;
    if (auto end = ReadVerb("get", args, {"--out"}, {}, v))
        return *end;
    int exit = kExitOk;
    auto n = TestNumber("get", v, exit);
    if (!n)
        return exit;
    std::string out = Value(v, "--out");
    if (out.empty())
        return UsageError("archive get", "--out FILE is needed", ArchiveHelp());
    auto archive = OpenArchive(v.db, true);
    if (!archive)
        return kExitFailed;
    auto bytes = archive->Bytes(*n);
    if (!bytes)
        return ArchiveFailed("there is no test " + std::to_string(*n));
    if (int rc = r470::WriteFileBytes(out, *bytes))
        return ArchiveFailed(out + ": " + r470::IoErrorText(rc));
    return kExitOk;
}

int Baseline(const Args& args) {
    VerbArgs v;
    if (auto end = ReadVerb("baseline", args, {}, {}, v))
        return *end;
    int exit = kExitOk;
    auto n = TestNumber("baseline", v, exit);
    if (!n)
        return exit;
    auto archive = OpenArchive(v.db);
    if (!archive)
        return kExitFailed;
    if (!archive->MarkBaseline(*n))
        return ArchiveFailed(archive->Error());
    return kExitOk;
}

int Remove(const Args& args) {
    VerbArgs v;
    if (auto end = ReadVerb("remove", args, {}, {}, v))
        return *end;
    int exit = kExitOk;
    auto n = TestNumber("remove", v, exit);
    if (!n)
        return exit;
    auto archive = OpenArchive(v.db);
    if (!archive)
        return kExitFailed;
    if (!archive->Remove(*n))
        return ArchiveFailed(archive->Error());
    return kExitOk;
}

int Compare(const Args& args) {
    VerbArgs v;
    if (auto end = ReadVerb("compare", args, {"--site"}, {}, v))
        return *end;
    if (v.words.size() != 1)
        return UsageError("archive compare", "give one cable ID", ArchiveHelp());
    std::string site = Value(v, "--site");
    auto archive = OpenArchive(v.db, true);
    if (!archive)
        return kExitFailed;
    auto base = archive->Baseline(site, v.words[0]);
    auto latest = archive->Latest(site, v.words[0]);
    if (!base || !latest)
        return ArchiveFailed("there is no cable \"" + v.words[0] + "\"" +
                             (site.empty() ? std::string() : " at site \"" + site + "\""));
    if (v.json) {
        std::cout << "{\"cable\":" << r470::JsonQuote(v.words[0])
                  << ",\"site\":" << r470::JsonQuote(site) << ",\"baseline\":" << base->test
                  << ",\"latest\":" << latest->test
                  << ",\"first_change\":" << r470::FirstChangeJson(latest->change) << "}\n";
    } else {
        std::cout << "baseline: test " << base->test << "\nlatest:   test " << latest->test
                  << "\nchange:   " << r470::ChangeText(*latest) << "\n";
    }
    return kExitOk;
}

int Check(const Args& args) {
    VerbArgs v;
    if (auto end = ReadVerb("check", args, {}, {}, v))
        return *end;
    auto archive = OpenArchive(v.db, true);
    if (!archive)
        return kExitFailed;
    std::vector<std::string> problems = archive->Check();
    for (const std::string& p : problems)
        std::cout << p << "\n";
    if (problems.empty())
        std::cout << "The archive is sound.\n";
    return problems.empty() ? kExitOk : kExitFailed;
}

int Export(const Args& args) {
    VerbArgs v;
    if (auto end = ReadVerb("export", args, {}, {}, v))
        return *end;
    if (v.words.size() != 1)
        return UsageError("archive export", "give one folder", ArchiveHelp());
    auto archive = OpenArchive(v.db, true);
    if (!archive)
        return kExitFailed;
    r470::ExportResult r = r470::ExportArchive(*archive, v.words[0]);
    for (const std::string& p : r.problems)
        std::cerr << "tdrtool archive: " << p << "\n";
    std::cout << r.written << " waveform files written to " << v.words[0] << "\n";
    return r.problems.empty() ? kExitOk : kExitFailed;
}

struct Verb {
    std::string_view name;
    int (*run)(const Args&);
};

const Verb kVerbs[] = {
    {"add", Add},           {"list", List},
    {"show", Show},         {"get", Get},
    {"baseline", Baseline}, {"compare", Compare},
    {"remove", Remove},     {"import-folder", RunArchiveImportFolder},
    {"check", Check},       {"export", Export},
};

} // namespace

int RunArchive(const Args& args) {
    if (args.empty())
        return UsageError("archive", "no verb given", ArchiveHelp());
    if (IsHelp(args[0])) {
        std::cout << ArchiveHelp();
        return kExitOk;
    }
    for (const Verb& v : kVerbs)
        if (v.name == args[0])
            return v.run(Args(args.begin() + 1, args.end()));
    return UsageError("archive", "unknown verb \"" + args[0] + "\"", ArchiveHelp());
}

} // namespace tdrtool
