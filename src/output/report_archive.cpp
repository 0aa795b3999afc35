#include "output/report_archive.h"

#include "archive/waveform_facts.h"
#include "output/report_files.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace r470 {

namespace {

std::string TestName(std::int64_t test) {
    return "test " + std::to_string(test);
}

// The waveform filed as `test`; "" or why it cannot be read.
std::string ReadFiled(CableArchive& archive, std::int64_t test, TraceData& into) {
    std::optional<std::vector<std::uint8_t>> bytes = archive.Bytes(test);
    if (!bytes)
        return TestName(test) + ": it is no longer in the archive";
    WaveformFacts f = ReadWaveformFacts(*bytes, false);
    if (!f.problem.empty())
        return TestName(test) + ": " + f.problem;
    into = std::move(f.trace);
    return "";
}

// The cables' baselines read once for all their tests.
class Baselines {
  public:
    explicit Baselines(CableArchive& archive) : archive_(archive) {}

    // Files `w` as `t` says; "" or why its baseline cannot be read.
    std::string Apply(const ArchiveTest& t, ReportWaveform& w) {
        w.site = t.site;
        w.cableId = t.cable;
        if (w.baseline)
            return ""; // one given by hand stands
        std::optional<ArchiveTest> b = archive_.Baseline(t.site, t.cable);
        if (!b || b->test == t.test)
            return "";
        auto [it, fresh] = read_.try_emplace(b->test);
        if (fresh) {
            if (std::string e = ReadFiled(archive_, b->test, it->second.trace); !e.empty()) {
                read_.erase(it);
                return "the baseline of " + TestName(t.test) + ", " + e;
            }
            it->second.date = ReportDate(it->second.trace.notes);
            if (it->second.date.empty())
                it->second.date = b->filed.substr(0, 10);
        }
        w.baseline = it->second;
        // A test that cannot be compared (another range, say) keeps its page and says why.
        w.baseline->change = CompareWithReference(w.trace, w.baseline->trace);
        return "";
    }

  private:
    CableArchive& archive_;
    std::map<std::int64_t, ReportBaseline> read_;
};

} // namespace

std::string ReadArchivedReportFiles(CableArchive& archive, const std::vector<std::string>& files,
                                    const std::string& baselineFile,
                                    std::vector<ReportWaveform>& out) {
    if (std::string e = ReadReportFiles(files, baselineFile, out); !e.empty())
        return e;
    Baselines baselines(archive);
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::vector<std::uint8_t> bytes;
        if (int code = ReadFileForFiling(files[i], bytes); code != 0)
            return files[i] + ": " + FilingReadText(code);
        std::optional<ArchiveTest> t = archive.FindByBytes(bytes);
        if (!t)
            continue;
        if (std::string e = baselines.Apply(*t, out[i]); !e.empty())
            return files[i] + ": " + e;
    }
    return "";
}

std::string ReadReportTests(CableArchive& archive, const std::vector<ArchiveTest>& tests,
                            std::vector<ReportWaveform>& out) {
    out.clear();
    Baselines baselines(archive);
    for (const ArchiveTest& t : tests) {
        ReportWaveform w;
        w.fileName = t.fileName;
        std::string e = ReadFiled(archive, t.test, w.trace);
        if (e.empty())
            e = baselines.Apply(t, w);
        if (!e.empty()) {
            out.clear();
            return e;
        }
        out.push_back(std::move(w));
    }
    return "";
}

std::string ReadCableReport(CableArchive& archive, const std::string& cable,
                            const std::optional<std::string>& site,
                            std::vector<ReportWaveform>& out) {
    out.clear();
    ArchiveFilter f;
    f.cable = cable;
    f.site = site.value_or("");
    f.bySite = site.has_value();
    std::vector<ArchiveTest> tests = cable.empty() ? std::vector<ArchiveTest>{} : archive.List(f);
    if (tests.empty())
        return "no test of cable \"" + cable + "\"" + (site ? " at site \"" + *site + "\"" : "") +
               " in the archive \"" + archive.Path() + "\"";
    std::vector<std::string> sites;
    for (const ArchiveTest& t : tests)
        if (std::find(sites.begin(), sites.end(), t.site) == sites.end())
            sites.push_back(t.site);
    if (sites.size() > 1) {
        std::string names;
        for (const std::string& s : sites)
            names += (names.empty() ? "\"" : ", \"") + s + "\"";
        return "cable \"" + cable + "\" is filed at more than one site (" + names +
               "): name the site";
    }
    // As the archive finds a cable's latest test: its own date, else the day it was filed.
    auto newer = [](const ArchiveTest& a, const ArchiveTest& b) {
        auto key = [](const ArchiveTest& t) {
            return std::make_tuple(t.date.empty() ? t.filed.substr(0, 10) : t.date, t.time, t.test);
        };
        return key(a) > key(b);
    };
    std::sort(tests.begin(), tests.end(), newer);
    return ReadReportTests(archive, tests, out);
}

} // namespace r470
