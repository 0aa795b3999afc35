// tdrtool run as a program, the way scripts use it, and the sample files it made.
#include "common/cp1252.h"
#include "common/file_io.h"
#include "shell/messages.h"
#include "waveform/synth.h"
#include "waveform/trace_file.h"
#include "waveform/trace_info.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace r470 {
namespace {

namespace fs = std::filesystem;

struct Result {
    int exit = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Tdrtool : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tdrtool_test_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // Runs a shell command line, giving its exit status, standard output and error.
    Result Sh(const std::string& line) const {
        std::string errFile = Path("stderr.txt");
        Result r;
        FILE* p = ::popen((line + " 2>" + Quote(errFile)).c_str(), "r");
        if (p == nullptr)
            return r;
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            r.out.append(buf, n);
        int status = ::pclose(p);
        r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = Slurp(errFile);
        return r;
    }
    Result Run(const std::string& args) const { return Sh(Quote(TDRTOOL_PATH) + " " + args); }

    fs::path dir_;
};

TEST_F(Tdrtool, SynthThenInfoJsonReportsTheOptionsAsTheCoreDoes) {
    std::string file = Path("M09.KEL");
    Result s = Run("synth --out " + Quote(file) +
                   " --fault short --fault-at 300 --mem 9 --gain 4 --pulse-width 12"
                   " --diel 705 --interval-ps 250 --samples 1600 --seed 77"
                   " --cable-id 'Ünter µ'");
    ASSERT_EQ(s.exit, 0) << s.err;
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.err, "");

    Result info = Run("info --json " + Quote(file));
    ASSERT_EQ(info.exit, 0) << info.err;
    TraceData t;
    ASSERT_EQ(ReadTraceFile(file, t), LoadOk);
    EXPECT_EQ(info.out, TraceInfoJson(file, LoadOk, &t) + "\n");
    for (const char* part :
         {"\"state\":0,", "\"MemNo\":9,", "\"Gain\":4,", "\"SampleIntLo\":250,",
          "\"SampleCount\":1600,", "\"InstDiel\":705,", "\"PulseWidth\":12,", "\"Cursor\":1201,",
          "\"NsPerSample\":0.25,", "\"CableId\":\"Ünter µ\"", "\"InstCableId\":\"Ünter µ   \"",
          "Short circuit at 300 ns", "seed 77"})
        EXPECT_NE(info.out.find(part), std::string::npos) << part;
    // The cable ID was stored in the file as Windows-1252.
    EXPECT_EQ(t.notes.CableId, "\xDCnter \xB5");

    // The same options give the same file, also with "--name=value".
    std::string again = Path("again.KEL");
    ASSERT_EQ(Run("synth --out=" + Quote(again) +
                  " --fault=short --fault-at=300 --mem=9 --gain=4 --pulse-width=12"
                  " --diel=705 --interval-ps=250 --samples=1600 --seed=77"
                  " --cable-id='Ünter µ'")
                  .exit,
              0);
    EXPECT_EQ(Slurp(again), Slurp(file));
}

TEST_F(Tdrtool, AFifoOrDeviceNamedLikeAWaveformNeitherBlocksNorIsReplaced) {
    std::string fifo = Path("X.KEL");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    // `timeout` ends a command that waits for a writer: that is the fault, exit 124.
    Result info = Sh("timeout 20 " + Quote(TDRTOOL_PATH) + " info --json " + Quote(fifo));
    EXPECT_EQ(info.exit, 1);
    EXPECT_NE(info.out.find("\"state\":-1"), std::string::npos) << info.out;
    Result render = Sh("timeout 20 " + Quote(TDRTOOL_PATH) + " render " + Quote(fifo) + " --out " +
                       Quote(Path("p.png")));
    EXPECT_EQ(render.exit, 1);
    Result synth = Run("synth --out " + Quote(fifo));
    EXPECT_EQ(synth.exit, 1);
    EXPECT_NE(synth.err.find("Access denied"), std::string::npos) << synth.err;
    EXPECT_TRUE(fs::is_fifo(fifo));

    // Through a link, synth writes the file the link leads to.
    ASSERT_EQ(Run("synth --out " + Quote(Path("REAL.KEL"))).exit, 0);
    fs::create_symlink("REAL.KEL", Path("LINK.KEL"));
    ASSERT_EQ(Run("synth --seed 5 --out " + Quote(Path("LINK.KEL"))).exit, 0);
    EXPECT_TRUE(fs::is_symlink(Path("LINK.KEL")));
    ASSERT_EQ(Run("synth --seed 5 --out " + Quote(Path("DIRECT.KEL"))).exit, 0);
    EXPECT_EQ(Slurp(Path("REAL.KEL")), Slurp(Path("DIRECT.KEL")));
}

TEST_F(Tdrtool, InfoExitsWithOneUnlessEveryFileLoaded) {
    std::string good = Path("GOOD.KEL"), text = Path("notes.txt"), old = Path("OLD.KEL");
    ASSERT_EQ(Run("synth --out " + Quote(good)).exit, 0);
    std::ofstream(text) << "not a waveform\n";
    {
        std::string bytes = Slurp(good);
        bytes[11] = 1; // FileVersion 1
        std::ofstream(old, std::ios::binary) << bytes;
    }

    Result ok = Run("info --json " + Quote(good) + " " + Quote(good));
    EXPECT_EQ(ok.exit, 0);
    EXPECT_EQ(std::count(ok.out.begin(), ok.out.end(), '\n'), 2);

    std::string missing = Path("MISSING.KEL");
    Result bad = Run("info --json " + Quote(good) + " " + Quote(missing) + " " + Quote(text) + " " +
                     Quote(old));
    EXPECT_EQ(bad.exit, 1);
    std::istringstream lines(bad.out);
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line))
        got.push_back(line);
    ASSERT_EQ(got.size(), 4u) << bad.out;
    EXPECT_NE(got[0].find("\"state\":0,"), std::string::npos);
    EXPECT_EQ(got[1], TraceInfoJson(missing, LoadCannotOpen, nullptr));
    EXPECT_EQ(got[2], TraceInfoJson(text, LoadNotWaveform, nullptr));
    EXPECT_EQ(got[3], TraceInfoJson(old, LoadWrongVersion, nullptr));

    // The text form: one block per file, a blank line between.
    Result plain = Run("info " + Quote(good) + " " + Quote(missing));
    EXPECT_EQ(plain.exit, 1);
    TraceData t;
    ASSERT_EQ(ReadTraceFile(good, t), LoadOk);
    EXPECT_EQ(plain.out, TraceInfoText(good, LoadOk, &t) + "\n" +
                             TraceInfoText(missing, LoadCannotOpen, nullptr));

    // "--" lets a file name start with a dash.
    EXPECT_EQ(Sh("cd " + Quote(dir_.string()) + " && cp GOOD.KEL ./-x.KEL && " +
                 Quote(TDRTOOL_PATH) + " info -- -x.KEL")
                  .exit,
              0);
}

TEST_F(Tdrtool, BadArgumentsExitWithTwoAndShowUsage) {
    std::string out = Quote(Path("X.KEL"));
    struct Case {
        std::string args;
        std::string says;
    };
    const Case cases[] = {
        {"", "Usage: tdrtool COMMAND"},
        {"frobnicate", "unknown command \"frobnicate\""},
        {"info", "no file given"},
        {"info --bogus x.KEL", "unknown option \"--bogus\""},
        {"synth", "--out FILE is required"},
        {"synth --out", "\"--out\" needs a value"},
        {"synth --out " + out + " --samples 12x", "bad value \"12x\" for --samples"},
        {"synth --out " + out + " --samples 99999999999", "bad value"},
        {"synth --out " + out + " --fault sideways", "bad value \"sideways\" for --fault"},
        {"synth --out " + out + " --fault-at far", "bad value \"far\" for --fault-at"},
        {"synth --out " + out + " --seed -1", "bad value \"-1\" for --seed"},
        {"synth --out " + out + " --colour red", "unknown option \"--colour\""},
        {"synth --out " + out + " --diel 1000", "The dielectric must be 300 to 999."},
        {"synth --out " + out + " --mem 49", "The memory number must be 1 to 48."},
        {"synth --out " + out + " --fault-at 2000", "before 1024 ns"},
        {"synth --out " + out + " --cable-id " + std::string(31, 'C'), "at most 30"},
    };
    for (const Case& c : cases) {
        Result r = Run(c.args);
        EXPECT_EQ(r.exit, 2) << c.args;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find("Usage: tdrtool"), std::string::npos) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
    EXPECT_FALSE(fs::exists(Path("X.KEL")));
}

TEST_F(Tdrtool, HelpGoesToStandardOutputAndSucceeds) {
    for (const char* args : {"--help", "-h", "help"}) {
        Result r = Run(args);
        EXPECT_EQ(r.exit, 0) << args;
        EXPECT_NE(r.out.find("Usage: tdrtool COMMAND"), std::string::npos) << args;
        EXPECT_NE(r.out.find("  info "), std::string::npos) << args;
        EXPECT_NE(r.out.find("  synth "), std::string::npos) << args;
    }
    for (const char* args : {"synth --help", "help synth"}) {
        Result r = Run(args);
        EXPECT_EQ(r.exit, 0) << args;
        EXPECT_NE(r.out.find("--fault-at NS"), std::string::npos) << args;
        EXPECT_NE(r.out.find("(600)"), std::string::npos) << args;
    }
    Result info = Run("info --help");
    EXPECT_EQ(info.exit, 0);
    EXPECT_NE(info.out.find("Usage: tdrtool info [--json] FILE..."), std::string::npos);
}

TEST_F(Tdrtool, TheOverviewNamesEveryChoiceACommandsOwnUsageRequires) {
    Result all = Run("--help");
    std::istringstream lines(all.out.substr(all.out.find("Commands:")));
    int commands = 0;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("  "))
            continue;
        std::string name = line.substr(2, line.find(' ', 2) - 2);
        std::string usage = Run(name + " --help").out;
        usage = usage.substr(0, usage.find('\n'));
        ASSERT_TRUE(usage.starts_with("Usage: tdrtool " + name)) << usage;
        ++commands;
        // "(A | B)": one of them must be given, so the overview shows both.
        for (std::size_t open = usage.find('('); open != std::string::npos;
             open = usage.find('(', open + 1)) {
            std::string choice = usage.substr(open, usage.find(')', open) - open + 1);
            EXPECT_NE(line.find(choice), std::string::npos) << name << ": " << choice;
        }
    }
    EXPECT_GE(commands, 10);
}

TEST_F(Tdrtool, WriteFailureExitsWithOneAndTheFileErrorText) {
    std::string target = Path("no/such/dir/X.KEL");
    int code = WriteFileSafely(target, [](ByteSink&) { return 0; });
    ASSERT_NE(code, 0);
    Result r = Run("synth --out " + Quote(target));
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "tdrtool synth: " + target + ": " + Cp1252ToUtf8(IoErrorText(code)) + "\n");

    // A failed write leaves an existing file as it was.
    std::string keep = Path("KEEP.KEL");
    std::ofstream(keep) << "old";
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    Result denied = Run("synth --out " + Quote(keep));
    fs::permissions(dir_, fs::perms::owner_all);
    if (::geteuid() != 0) { // root writes anywhere
        EXPECT_EQ(denied.exit, 1);
        EXPECT_NE(denied.err.find(Cp1252ToUtf8(IoErrorText(5))), std::string::npos) << denied.err;
        EXPECT_EQ(Slurp(keep), "old");
    }
}

// ---- the committed samples ----

std::vector<fs::path> SampleFiles() {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(R470_SAMPLES_DIR))
        if (e.path().extension() == ".KEL")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Samples, EveryCommittedSampleLoadsAndTheyDifferWhereTheyShould) {
    auto files = SampleFiles();
    ASSERT_EQ(files.size(), 5u);
    std::set<int> mems;
    std::set<std::string> cables;
    std::map<std::string, TraceData> byName;
    for (const fs::path& f : files) {
        TraceData t;
        ASSERT_EQ(ReadTraceFile(f.string(), t), LoadOk) << f;
        EXPECT_EQ(t.header.SampleCount, 2048) << f;
        EXPECT_EQ(f.filename().string(), [&] {
            std::string up = f.filename().string();
            for (char& c : up)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return up;
        }()) << "upper-case names";
        mems.insert(t.header.MemNo);
        cables.insert(t.notes.CableId);
        byName[f.filename().string()] = t;
    }
    EXPECT_EQ(mems.size(), 5u);
    EXPECT_EQ(cables.size(), 5u);

    // The two feeders overlay: same gain, pulse width, interval and dielectric.
    const TraceHeader& a = byName.at("FEEDER1.KEL").header;
    const TraceHeader& b = byName.at("FEEDER2.KEL").header;
    EXPECT_EQ(a.Gain, b.Gain);
    EXPECT_EQ(a.PulseWidth, b.PulseWidth);
    EXPECT_EQ(SampleIntervalNs(a), SampleIntervalNs(b));
    EXPECT_EQ(a.Diel, b.Diel);
    EXPECT_NE(a.Cursor, b.Cursor);
    EXPECT_NE(byName.at("GAIN5.KEL").header.Gain, a.Gain);
    EXPECT_EQ(byName.at("PE700.KEL").header.Diel, 700);
    EXPECT_NE(byName.at("SHORT.KEL").notes.Comments[1].find("Short circuit at 1200 ns"),
              std::string::npos);
}

TEST_F(Tdrtool, SampleScriptRemakesTheCommittedFilesByteForByte) {
    fs::path script = fs::path(R470_SAMPLES_DIR).parent_path() / "scripts" / "make-samples.sh";
    std::string out = Path("remade");
    Result r = Sh("sh " + Quote(script.string()) + " " + Quote(TDRTOOL_PATH) + " " + Quote(out));
    ASSERT_EQ(r.exit, 0) << r.err;
    auto committed = SampleFiles();
    std::size_t remade = 0;
    for (const auto& e : fs::directory_iterator(out))
        remade += e.path().extension() == ".KEL";
    EXPECT_EQ(remade, committed.size());
    for (const fs::path& f : committed)
        EXPECT_TRUE(Slurp(f) == Slurp(fs::path(out) / f.filename())) << f.filename();

    // And the first one straight from the core, so the script and the library agree.
    SynthOptions o; // FEEDER1 uses the defaults
    TraceData t = Synthesize(o);
    std::string direct = Path("direct.KEL");
    ASSERT_EQ(WriteFileSafely(direct, [&](ByteSink& s) { return WriteTrace(s, t); }), 0);
    EXPECT_TRUE(Slurp(direct) == Slurp(fs::path(R470_SAMPLES_DIR) / "FEEDER1.KEL"));
}

} // namespace
} // namespace r470
