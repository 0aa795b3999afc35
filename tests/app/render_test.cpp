#include "display/recording_canvas.h"
#include "output/composition.h"
#include "output/picture_job.h"
#include "support/display_fixture.h"
#include "support/temp_dir.h"
#include "waveform/units.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace r470 {
namespace {

// A 24- or 32-bit uncompressed BMP, enough for the pictures tdrtool writes.
struct Bmp {
    int width = 0, height = 0, bpp = 0;
    std::vector<std::uint8_t> bytes;
    std::size_t offset = 0;
    explicit Bmp(const std::vector<std::uint8_t>& b) : bytes(b) {
        auto u32 = [&](std::size_t at) {
            return static_cast<int>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
        };
        if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
            return;
        offset = static_cast<std::size_t>(u32(10));
        width = u32(18);
        height = u32(22);
        bpp = b[28];
    }
    Colour At(int x, int y) const {
        int bytesPer = bpp / 8;
        std::size_t stride = static_cast<std::size_t>((width * bytesPer + 3) / 4 * 4);
        std::size_t row = static_cast<std::size_t>(height - 1 - y); // stored bottom-up
        std::size_t at = offset + row * stride + static_cast<std::size_t>(x * bytesPer);
        return {bytes[at + 2], bytes[at + 1], bytes[at]};
    }
};

TEST(RenderCommand, DrawsTheFrameWaveformsAndCursorsIntoABitmap) {
    test::TempDir dir;
    std::string out = dir.Path("pic.bmp");
    std::string cmd = std::string(TDRTOOL_PATH) + " render " + R470_SAMPLES_DIR + "/FEEDER1.KEL " +
                      R470_SAMPLES_DIR + "/FEEDER2.KEL --out " + out + " 2>/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    Bmp bmp(test::ReadBytes(out));
    ASSERT_EQ(bmp.width, 648);
    ASSERT_EQ(bmp.height, 489);
    // Frame one pixel outside the graph box 43..605 x 43..302.
    EXPECT_EQ(bmp.At(42, 42), kBlack);
    EXPECT_EQ(bmp.At(606, 42), kBlack);
    EXPECT_EQ(bmp.At(606, 303), kBlack);
    EXPECT_EQ(bmp.At(42, 303), kBlack);
    EXPECT_EQ(bmp.At(43, 43), kWhite);
    EXPECT_EQ(bmp.At(300, 42), kBlack);
    EXPECT_EQ(bmp.At(41, 100), kWhite);
    // Below the graph, the details table: its first row one line under the frame.
    int inked = 0;
    for (int y = 304; y < 489; ++y)
        for (int x = 43; x < 605; ++x)
            inked += bmp.At(x, y) != kWhite;
    EXPECT_GT(inked, 300) << "the details table";
    EXPECT_EQ(bmp.At(20, 400), kWhite) << "left of the table the picture stays white";
    int redBelow = 0;
    for (int y = 304; y < 330; ++y)
        for (int x = 43; x < 605; ++x)
            redBelow += bmp.At(x, y) == Colour{0, 128, 0};
    EXPECT_GT(redBelow, 10) << "the file name in the colour of slot 2, the last loaded";
    // Both cursors at 600 ns (sample 1201 at 0.5 ns), drawn at their x down the band.
    double rangeNs = MetresToNs(660, 128);
    int cx = 43 + Nearest(600 * (605 - 43) / rangeNs);
    EXPECT_EQ(bmp.At(cx, 60), kBlack);
    int red = 0, green = 0;
    for (int y = 43; y < 302; ++y)
        for (int x = 43; x < 605; ++x) {
            red += bmp.At(x, y) == Colour{255, 0, 0};
            green += bmp.At(x, y) == Colour{0, 128, 0};
        }
    EXPECT_GT(red, 200);
    EXPECT_GT(green, 200);
}

TEST(RenderCommand, RefusesBadArgumentsAndUnreadableFiles) {
    test::TempDir dir;
    auto run = [](const std::string& args) {
        int rc = std::system(
            (std::string(TDRTOOL_PATH) + " render " + args + " >/dev/null 2>&1").c_str());
        return WEXITSTATUS(rc);
    };
    std::string sample = std::string(R470_SAMPLES_DIR) + "/FEEDER1.KEL";
    EXPECT_EQ(run(sample), 2) << "no --out";
    EXPECT_EQ(run(sample + " --out x.png --units yards"), 2);
    EXPECT_EQ(run(sample + " --out x.png --size 12"), 2);
    EXPECT_EQ(run(dir.Path("none.KEL") + " --out " + dir.Path("x.png")), 1);
    EXPECT_EQ(run(sample + " --out " + dir.Path("x.gif")), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("x.png")));
    EXPECT_EQ(run(sample + " --size 8x8 --out " + dir.Path("small.png")), 2);
    EXPECT_EQ(run(sample + " --out " + dir.Path("UPPER.PNG")), 0) << "the extension in any case";
    EXPECT_TRUE(std::filesystem::exists(dir.Path("UPPER.PNG")));
    EXPECT_EQ(run(sample + " --units time --cursors 100,900 --zoom --out " + dir.Path("z.png")), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.Path("z.png")));
    // Every number is checked: no NaN, infinity or value out of range reaches the drawing.
    for (const char* bad : {"--cursors nan,nan", "--cursors 10,inf", "--cursors -inf,5",
                            "--cursors -1,5", "--cursors 1e400,5", "--cursors 5,1e12",
                            "--size 0x100", "--size -5x100", "--size 99999999999x100"}) {
        EXPECT_EQ(run(sample + " " + bad + " --out " + dir.Path("bad.png")), 2) << bad;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("bad.png"))) << bad;
    }
    for (const char* bad : {"--fault-at nan", "--fault-at inf", "--samples 1e3", "--seed -1"})
        EXPECT_NE(std::system((std::string(TDRTOOL_PATH) + " synth " + bad + " --out " +
                               dir.Path("s.KEL") + " >/dev/null 2>&1")
                                  .c_str()),
                  0)
            << bad;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("s.KEL")));
}

TEST(PictureRequest, CursorTimesMustBeOnATrace) {
    PictureOptions o;
    for (double bad : {std::nan(""), -1.0, kMaxCursorNs * 2}) {
        o.cursorsNs = std::make_pair(bad, 10.0);
        EXPECT_NE(PictureRequestError(o, "a.png"), "") << bad;
        o.cursorsNs = std::make_pair(10.0, bad);
        EXPECT_NE(PictureRequestError(o, "a.png"), "") << bad;
    }
    o.cursorsNs = std::make_pair(0.0, kMaxCursorNs);
    EXPECT_EQ(PictureRequestError(o, "a.png"), "");
}

using Composition = test::DisplayFixture;

TEST_F(Composition, PictureUsesItsOwnLayoutClearsNothingAndGivesTheScreenBack) {
    View(0, 1000);
    LoadFlat(1);
    display.state().Cursor1Ns = display.state().Cursor2Ns = 500;
    RecordingCanvas picture;
    DrawSurface pictureSurface{648, 489, 140, 25, 648, 0};
    LabelBook labels;
    DrawComposition(display, session, picture, OutputTarget::Bitmap, pictureSurface, labels);
    EXPECT_TRUE(picture.Of(CanvasCall::Rect).empty()) << "a fresh picture needs no clearing";
    EXPECT_EQ(picture.Of(CanvasCall::Font).size(), 1u);
    bool traced = false;
    for (const auto& c : picture.Of(CanvasCall::Line))
        traced |= c.colour == TraceColour(1) && c.x1 >= 43 && c.x2 <= 605;
    EXPECT_TRUE(traced);
    EXPECT_EQ(session.target, OutputTarget::Screen);
    EXPECT_EQ(&display.canvas(), &canvas);
    EXPECT_EQ(display.state().GraphLeft, 0);
    EXPECT_EQ(display.state().GraphTop, 25);
}

} // namespace
} // namespace r470
