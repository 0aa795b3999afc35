#include "shell/messages.h"
#include "shell/prompts.h"

#include <gtest/gtest.h>

namespace r470 {
namespace {

TEST(MessageCatalogue, UnknownNumbersGiveTheEmptyText) {
    for (int n : {-1, 0, 4, 115, 217, 299, 303, 1100, 1108, 1216, 99999})
        EXPECT_EQ(MessageText(n), "") << n;
}

TEST(MessageCatalogue, TextsKeepTheirBlanksAndCapitals) {
    EXPECT_EQ(MessageText(1115), "E&xit");
    EXPECT_EQ(MessageText(205), "Cursor 1 : ");
    EXPECT_EQ(MessageText(206), "Cursor 2 : ");
    EXPECT_EQ(MessageText(207), "Cursor 1 - 2 : ");
    EXPECT_EQ(MessageText(214), "Error ");
    EXPECT_EQ(MessageText(300), "Comments   ");
    EXPECT_EQ(MessageText(301), "Pulse width   ");
    EXPECT_EQ(MessageText(1112), "&Save    ^S");
    EXPECT_EQ(MessageText(1131), "&Add waveform         ^R");
    EXPECT_EQ(MessageText(1134), "Z&oom                 ^O");
    EXPECT_EQ(MessageText(1135), "&Select waveform      ^M");
    EXPECT_EQ(MessageText(185), "has changed. do you want to save the changes ?");
    EXPECT_EQ(MessageText(127),
              "Must select 2 waveforms to compare, to display the difference waveform");
    EXPECT_EQ(MessageText(59), "Successfully copied to the clipboard");
    EXPECT_EQ(MessageText(135), "Successfully copied to the clipboard.");
    EXPECT_EQ(MessageText(1), "KELVANOR");
    EXPECT_EQ(MessageText(1215), "Down");
}

TEST(MessageCatalogue, MicroSignIsTheSingleByteB5) {
    EXPECT_EQ(MessageText(203), std::string(" ft/\xB5s"));
    EXPECT_EQ(MessageText(204), std::string(" m/\xB5s"));
    EXPECT_EQ(MessageText(302), std::string("PVF 999.9 ft/\xB5s"));
    EXPECT_EQ(MessageText(203).size(), 6u);
}

TEST(MessageCatalogue, EntriesUsedByNameMatchTheirNumbers) {
    EXPECT_EQ(MessageText(MsgProblem), "Problem");
    EXPECT_EQ(MessageText(MsgConfirm), "Confirm");
    EXPECT_EQ(MessageText(MsgNoTraces), "No traces loaded");
    EXPECT_EQ(MessageText(MsgOverwrite), "Overwrite existing file ?");
    EXPECT_EQ(MessageText(MsgMaxWaveforms), "Maximum 4 waveforms allowed");
    EXPECT_EQ(MessageText(MsgNotWaveformFile), "File is not a valid waveform file");
    EXPECT_EQ(MessageText(MsgWrongVersion), "File cannot be loaded by this software version");
    EXPECT_EQ(MessageText(MsgReadError), "Error reading file from disk");
    EXPECT_EQ(MessageText(MsgCannotLoad), "Cannot load file");
    EXPECT_EQ(MessageText(MsgCannotOpenData), "Cannot open data file");
    EXPECT_EQ(MessageText(MsgFileError), "File error");
}

TEST(MessageCatalogue, HasEveryEntryOnce) {
    int count = 0;
    for (int n = 0; n < 2000; ++n)
        count += !MessageText(n).empty();
    EXPECT_EQ(count, 256);
}

TEST(IoErrorText, NamedCodesAndTheNumberedFallback) {
    EXPECT_EQ(IoErrorText(2), "File not found");
    EXPECT_EQ(IoErrorText(3), "Path not found");
    EXPECT_EQ(IoErrorText(4), "Too many open files");
    EXPECT_EQ(IoErrorText(5), "Access denied");
    EXPECT_EQ(IoErrorText(100), "Disk read error");
    EXPECT_EQ(IoErrorText(101), "Disk write error");
    EXPECT_EQ(IoErrorText(103), "Error 103");
    EXPECT_EQ(IoErrorText(0), "Error 0");
    EXPECT_EQ(IoErrorText(1), "Error 1");
    EXPECT_EQ(IoErrorText(28), "Error 28");
}

TEST(MessageBoxFlags, ButtonsIconsAndEscape) {
    struct Case {
        unsigned flags;
        std::vector<int> buttons;
        BoxIcon icon;
        int escape;
    };
    const Case cases[] = {
        {0, {IdOk}, BoxIcon::None, IdOk},
        {5, {IdRetry, IdCancel}, BoxIcon::None, IdCancel},
        {17, {IdOk, IdCancel}, BoxIcon::Stop, IdCancel},
        {19, {IdYes, IdNo, IdCancel}, BoxIcon::Stop, IdCancel},
        {20, {IdYes, IdNo}, BoxIcon::Stop, 0},
        {33, {IdOk, IdCancel}, BoxIcon::Question, IdCancel},
        {36, {IdYes, IdNo}, BoxIcon::Question, 0},
        {51, {IdYes, IdNo, IdCancel}, BoxIcon::Exclamation, IdCancel},
    };
    for (const Case& c : cases) {
        MessageBoxLayout l = LayoutForFlags(c.flags);
        EXPECT_EQ(l.buttons, c.buttons) << c.flags;
        EXPECT_EQ(l.icon, c.icon) << c.flags;
        EXPECT_EQ(l.escapeButton, c.escape) << c.flags;
    }
}

TEST(MessageBoxFlags, TextsStopAtZeroAndAt255Characters) {
    EXPECT_EQ(BoxText(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(BoxText(std::string(300, 'x')).size(), 255u);
    EXPECT_EQ(BoxText(""), "");
    EXPECT_EQ(BoxTitle(""), " ") << "an empty title would show the program's name";
    EXPECT_EQ(BoxTitle(std::string("\0x", 2)), " ");
    EXPECT_EQ(BoxTitle("Problem"), "Problem");
}

} // namespace
} // namespace r470
