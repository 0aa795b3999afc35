// tdrtool's link commands run as programs against tdrtool instrument on a pseudo-terminal.
#include "instrument/instrument_sim.h"
#include "instrument/sim_line.h"
#include "support/temp_dir.h"
#include "waveform/trace_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>

namespace r470 {
namespace {

std::string Tool() {
    return TDRTOOL_PATH;
}

// Starts the instrument; its first output line is the port path.
struct Instrument {
    explicit Instrument(const std::string& args) {
        pipe = ::popen((Tool() + " instrument --pty " + args + " 2>/dev/null").c_str(), "r");
        char line[256] = {};
        if (pipe && std::fgets(line, sizeof line, pipe))
            path = std::string(line, std::strlen(line) - 1);
    }
    // The rest of its output and its exit status.
    std::pair<std::string, int> Finish() {
        std::string out;
        char buf[512];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
            out.append(buf, n);
        int status = ::pclose(pipe);
        pipe = nullptr;
        return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }
    ~Instrument() {
        if (pipe)
            ::pclose(pipe);
    }
    FILE* pipe = nullptr;
    std::string path;
};

int Tdr(const std::string& args) {
    int status = std::system((Tool() + " " + args + " 2>/dev/null >/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(LinkCommands, ReceiveTakesWhatTheInstrumentSends) {
    test::TempDir dir;
    Instrument inst("--send 2,4-5 --extensions mixed --fast");
    ASSERT_FALSE(inst.path.empty());
    EXPECT_EQ(Tdr("receive --device " + inst.path + " --out " + dir.Path("cap.dat")), 0);
    auto [out, status] = inst.Finish();
    EXPECT_EQ(status, 0);
    SimulatedInstrument same;
    const int list[] = {2, 4, 5};
    EXPECT_EQ(test::ReadBytes(dir.Path("cap.dat")), same.EncodeSend(list, ExtensionMode::Mixed));
}

TEST(LinkCommands, SendIsWhatEncodeWritesAndTheInstrumentStoresIt) {
    test::TempDir dir, mem;
    ASSERT_EQ(Tdr("synth --samples 300 --fault-at 50 --mem 3 --out " + dir.Path("A.KEL")), 0);
    ASSERT_EQ(Tdr("synth --samples 20 --mem 9 --fault none --out " + dir.Path("B.KEL")), 0);
    ASSERT_EQ(Tdr("encode " + dir.Path("A.KEL") + ":7 " + dir.Path("B.KEL") + ":31 --out " +
                  dir.Path("line.dat")),
              0);
    Instrument inst("--receive --memories " + mem.Path());
    ASSERT_FALSE(inst.path.empty());
    EXPECT_EQ(Tdr("send --device " + inst.path + " " + dir.Path("A.KEL") + ":7 " +
                  dir.Path("B.KEL") + ":31"),
              0);
    auto [out, status] = inst.Finish();
    EXPECT_EQ(status, 0) << out;
    const auto line = test::ReadBytes(dir.Path("line.dat"));
    EXPECT_NE(out.find("received " + std::to_string(line.size()) + " bytes, 2 memories"),
              std::string::npos)
        << out;
    auto checked = CheckComputerTransmission(line);
    ASSERT_EQ(checked.status, ComputerTransmission::Ok);
    TraceData a, stored;
    ASSERT_EQ(ReadTraceFile(dir.Path("A.KEL"), a), LoadOk);
    ASSERT_EQ(ReadTraceFile(mem.Path("MEM07.KEL"), stored), LoadOk);
    EXPECT_EQ(stored.header.MemNo, 7);
    EXPECT_EQ(stored.header.SampleCount, 300);
    EXPECT_TRUE(std::equal(a.samples.begin(), a.samples.begin() + 300, stored.samples.begin()));
    EXPECT_TRUE(CanOpenForReading(mem.Path("MEM31.KEL")));
}

TEST(LinkCommands, FailuresExitNonZeroAndLeaveNoCapture) {
    test::TempDir dir;
    EXPECT_EQ(Tdr("receive --device " + dir.Path("none") + " --out " + dir.Path("cap.dat")), 1);
    EXPECT_FALSE(CanOpenForReading(dir.Path("cap.dat")));
    EXPECT_EQ(Tdr("receive"), 2);
    for (const char* bad : {"0", "nan", "-1", "1e9", "x"})
        EXPECT_EQ(Tdr(std::string("receive --device /dev/null --timeout ") + bad), 2) << bad;
    EXPECT_EQ(Tdr("send --port 1 nofile.KEL:7"), 1);
    EXPECT_EQ(Tdr("send --port 1 x.KEL:49"), 2);
    EXPECT_EQ(Tdr("instrument --pty"), 2);
}

TEST(LinkCommands, ASilentInstrumentEndsTheReceiveAtTheTimeoutWithNoCapture) {
    test::TempDir dir;
    SimPty silent; // a line nobody sends on
    ASSERT_EQ(silent.Open(), 0);
    EXPECT_EQ(
        Tdr("receive --device " + silent.PortPath() + " --timeout 0.5 --out " + dir.Path("c.dat")),
        1);
    EXPECT_FALSE(CanOpenForReading(dir.Path("c.dat")));
}

} // namespace
} // namespace r470
