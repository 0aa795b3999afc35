// Receiving a transmission over a pseudo-terminal, one poll per step of the test.
#include "instrument/transfer_format.h"
#include "support/link_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

namespace r470 {
namespace {

using test::ReadBytes;

std::vector<std::uint8_t> Transmission(std::uint32_t length, std::size_t total,
                                       std::uint8_t first = 'H') {
    auto start = EncodeStartBlock(length, 1);
    std::vector<std::uint8_t> b(start.begin(), start.end());
    b[0] = first;
    b.resize(std::min(total, b.size()));
    for (std::size_t i = b.size(); i < total; ++i)
        b.push_back(static_cast<std::uint8_t>(i * 7));
    return b;
}

class Receive : public test::LinkTest {
  protected:
    void Start() {
        transfer->TransferMode = ModeReceive;
        transfer->FormShow();
        ASSERT_EQ(transfer->StartClick(), kTransferRunning);
        ASSERT_GE(transfer->PortHandle, 0);
    }
    bool BufferFileExists() const { return std::filesystem::exists(dir.Path("buffer.dat")); }
};

TEST_F(Receive, StartOpensThePortAndTellsTheUserWhatToPress) {
    transfer->FormShow();
    EXPECT_EQ(view.message, "");
    EXPECT_TRUE(view.start && view.cancel);
    EXPECT_FALSE(transfer->TimerEnabled());
    Start();
    EXPECT_EQ(view.message, "Press RS232 then 2 on the instrument.");
    EXPECT_FALSE(view.start);
    EXPECT_TRUE(view.cancel);
    EXPECT_TRUE(transfer->TimerEnabled());
    EXPECT_EQ(view.max, 8);
    EXPECT_FALSE(PortFree());
    // A poll with nothing waiting changes nothing.
    EXPECT_EQ(transfer->TimerTimer(), kTransferRunning);
    EXPECT_EQ(transfer->ReceivedCount, 0);
    EXPECT_TRUE(transfer->TimerEnabled());
}

TEST_F(Receive, AnOpenFailureIsReportedWithTheSerialText) {
    prompts.answers = {IdOk};
    transfer->CommPort = 200;
    transfer->FormShow();
    EXPECT_EQ(transfer->StartClick(), IdCancel);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "Cannot find device");
    EXPECT_EQ(prompts.boxes[0].caption, "Problem");
    EXPECT_EQ(prompts.boxes[0].flags, MbOk);
}

TEST_F(Receive, AWrongFirstByteFailsWhenTheSeventhArrivesNotBefore) {
    prompts.answers = {IdOk};
    Start();
    Feed(Transmission(100, 6, 'X'));
    EXPECT_EQ(transfer->TimerTimer(), kTransferRunning);
    EXPECT_EQ(transfer->ReceivedCount, 6);
    EXPECT_TRUE(prompts.boxes.empty());
    Feed({0x00, 0x4D, 0x4D});
    EXPECT_EQ(transfer->TimerTimer(), IdCancel);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "Invalid data received");
    EXPECT_EQ(prompts.boxes[0].caption, "Problem");
    EXPECT_EQ(transfer->ReceivedCount, 7) << "nothing after the start block is taken";
    EXPECT_EQ(transfer->PortHandle, -1);
    EXPECT_TRUE(PortFree());
    EXPECT_FALSE(BufferFileExists());
}

TEST_F(Receive, BytesPastTheLengthInTheSamePollAreKept) {
    Start();
    const auto bytes = Transmission(100, 120);
    Feed(bytes);
    EXPECT_EQ(transfer->TimerTimer(), IdOk);
    EXPECT_EQ(transfer->ReceivedCount, 120);
    EXPECT_EQ(transfer->ExpectedLength, 100);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 7, transfer->StartBlock.begin()));
    EXPECT_EQ(ReadBytes(dir.Path("buffer.dat")), bytes);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), transfer->TransferBuffer.begin()));
    EXPECT_EQ(view.maxima, (std::vector<int>{8, 100}));
    EXPECT_EQ(view.position, 113) << "the bar restarts at the start block";
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_TRUE(PortFree());
}

TEST_F(Receive, CompletesInThePollThatBringsTheLastByteAndReplacesTheOldCapture) {
    test::WriteBytes(dir.Path("buffer.dat"), std::vector<std::uint8_t>(500, 0xEE));
    Start();
    const auto bytes = Transmission(60, 60);
    Feed({bytes.begin(), bytes.begin() + 3});
    EXPECT_EQ(transfer->TimerTimer(), kTransferRunning);
    Feed({bytes.begin() + 3, bytes.begin() + 59});
    EXPECT_EQ(transfer->TimerTimer(), kTransferRunning);
    EXPECT_EQ(ReadBytes(dir.Path("buffer.dat")).size(), 500u);
    Feed({bytes.begin() + 59, bytes.end()});
    EXPECT_EQ(transfer->TimerTimer(), IdOk);
    EXPECT_EQ(ReadBytes(dir.Path("buffer.dat")), bytes);
}

TEST_F(Receive, LengthZeroNeverCompletesUntilCancelled) {
    prompts.answers = {IdYes};
    Start();
    Feed(Transmission(0, 300));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(transfer->TimerTimer(), kTransferRunning);
    EXPECT_EQ(transfer->ReceivedCount, 300);
    EXPECT_EQ(transfer->CancelClick(), IdCancel);
    EXPECT_EQ(prompts.boxes.back().text, "Cancel transfer ?");
    EXPECT_EQ(prompts.boxes.back().caption, "Confirm");
    EXPECT_EQ(prompts.boxes.back().flags, MbYesNo | MbIconQuestion);
    EXPECT_EQ(transfer->PortHandle, -1);
    EXPECT_TRUE(PortFree());
    EXPECT_FALSE(BufferFileExists());
}

TEST_F(Receive, CancelBeforeStartClosesNothingAndNoResumesPolling) {
    prompts.answers = {IdYes};
    transfer->FormShow();
    EXPECT_EQ(transfer->CancelClick(), IdCancel);
    EXPECT_EQ(transfer->PortHandle, -1);

    prompts.answers = {IdNo};
    Start();
    const auto bytes = Transmission(40, 40);
    Feed({bytes.begin(), bytes.begin() + 20});
    EXPECT_EQ(transfer->TimerTimer(), kTransferRunning);
    EXPECT_EQ(transfer->CancelClick(), kTransferRunning);
    EXPECT_TRUE(transfer->TimerEnabled());
    EXPECT_FALSE(PortFree());
    Feed({bytes.begin() + 20, bytes.end()});
    EXPECT_EQ(transfer->TimerTimer(), IdOk);
    EXPECT_EQ(ReadBytes(dir.Path("buffer.dat")), bytes);
}

TEST_F(Receive, AnAnnouncedLengthPastTheBufferIsRefusedAtTheStartBlock) {
    prompts.answers = {IdOk};
    Start();
    Feed(Transmission(65536, 50));
    EXPECT_EQ(transfer->TimerTimer(), IdCancel);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text,
              "Data transfer failed: the transmission is larger than 65535 bytes");
    EXPECT_TRUE(PortFree());
    EXPECT_FALSE(BufferFileExists());
}

TEST_F(Receive, MoreBytesThanTheBufferHoldsStopTheReceive) {
    prompts.answers = {IdOk};
    Start();
    auto bytes = Transmission(0, 65535 + 10);
    std::size_t fed = 0;
    int result = kTransferRunning;
    while (fed < bytes.size() && result == kTransferRunning) {
        std::size_t n = std::min<std::size_t>(2000, bytes.size() - fed);
        Feed({bytes.begin() + static_cast<std::ptrdiff_t>(fed),
              bytes.begin() + static_cast<std::ptrdiff_t>(fed + n)});
        fed += n;
        result = transfer->TimerTimer();
    }
    EXPECT_EQ(fed, bytes.size());
    EXPECT_EQ(result, IdCancel);
    EXPECT_EQ(transfer->ReceivedCount, 65535);
    EXPECT_EQ(prompts.boxes.size(), 1u);
    EXPECT_TRUE(PortFree());
    EXPECT_FALSE(BufferFileExists());
}

TEST_F(Receive, ACaptureThatCannotBeWrittenIsReported) {
    prompts.answers = {IdOk};
    std::filesystem::create_directory(dir.Path("buffer.dat"));
    Start();
    Feed(Transmission(20, 20));
    EXPECT_EQ(transfer->TimerTimer(), IdCancel);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "Error saving " + dir.Path("buffer.dat") + ": Access denied");
    EXPECT_TRUE(PortFree());
}

TEST_F(Receive, LoadReplaysTheLastCaptureUpToTheBufferSize) {
    std::vector<std::uint8_t> big(70000);
    std::iota(big.begin(), big.end(), 0);
    test::WriteBytes(dir.Path("buffer.dat"), big);
    transfer->FormShow();
    EXPECT_EQ(transfer->LoadClick(), IdOk);
    EXPECT_EQ(transfer->ReceivedCount, 65535);
    EXPECT_TRUE(
        std::equal(transfer->TransferBuffer.begin(), transfer->TransferBuffer.end(), big.begin()));

    prompts.answers = {IdOk};
    transfer->BufferFile = dir.Path("none.dat");
    EXPECT_EQ(transfer->LoadClick(), kTransferRunning);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].caption, "Problem");
}

} // namespace
} // namespace r470
