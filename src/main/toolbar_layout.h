// The two interchangeable toolbars: which buttons, in which order, with which repeat tag.
#pragma once

#include <array>

namespace r470 {

struct ToolButtonDef {
    const char* name; // control name; "" for the instrument toolbar's blank keys
    const char* caption;
    int tag; // press-and-hold code, 0 for buttons that do not repeat
};

constexpr int kNormToolBarHeight = 25;
constexpr int kNormButtonHeight = 22;
constexpr int kNormFirstLeft = 3;

constexpr std::array<ToolButtonDef, 18> kNormalToolbar = {{
    {"ModeN", "&Mode", 0},
    {"Left1N", "<", 1},
    {"Right1N", ">", 2},
    {"Left2N", "<", 3},
    {"Right2N", ">", 4},
    {"SaveN", "&Save", 0},
    {"RecallN", "&Recall", 0},
    {"RngUpN", "R&ng+", 0},
    {"RngDnN", "Rn&g-", 0},
    {"DielUpN", "&Diel+", 9},
    {"DielDnN", "Die&l-", 10},
    {"AmpUpN", "&Amp+", 7},
    {"AmpDnN", "Am&p-", 8},
    {"UpN", "Up", 5},
    {"DownN", "Dn", 6},
    {"ZoomN", "Z&oom", 0},
    {"EditN", "&Edit", 0},
    {"dBRLN", "dBRL", 0},
}};

// Arrow buttons are narrow, the rest share one width so the row stays inside the design
// width of the window.
constexpr int kNormArrowWidth = 22;
constexpr int kNormButtonWidth = 36;

constexpr int kP335Width = 229;
constexpr int kP335Height = 94;
constexpr int kP335ButtonWidth = 44;
constexpr int kP335ButtonHeight = 22;
constexpr int kP335Columns = 5;
constexpr int kP335Rows = 4;

// Laid out like the instrument's keypad, row by row.
constexpr std::array<ToolButtonDef, 20> kInstrumentToolbar = {{
    {"Left1I", "<", 1},        {"Right1I", ">", 2},       {"ZoomI", "Z&oom", 0},
    {"Left2I", "<", 3},        {"Right2I", ">", 4},       {"ModeI", "&Mode", 0},
    {"dBRLI", "dBRL", 0},      {"Unused1", "", 0},        {"Unused2", "", 0},
    {"Unused3", "", 0},        {"DielUpI", "&Diel+", 9},  {"RngUpI", "R&ng+", 0},
    {"UpI", "Up", 5},          {"AmpUpI", "&Amp+", 7},    {"SaveI", "&Save", 0},
    {"DielDnI", "Die&l-", 10}, {"RngDnI", "Rn&g-", 0},    {"DownI", "Down", 6},
    {"AmpDnI", "Am&p-", 8},    {"RecallI", "&Recall", 0},
}};

struct ButtonRect {
    int left, top, width, height;
};

// Position of the i-th button of each toolbar inside its panel.
constexpr ButtonRect NormalButtonRect(std::size_t i) {
    int left = kNormFirstLeft;
    for (std::size_t k = 0; k < i; ++k)
        left += kNormalToolbar[k].caption[0] == '<' || kNormalToolbar[k].caption[0] == '>'
                    ? kNormArrowWidth
                    : kNormButtonWidth;
    bool arrow = kNormalToolbar[i].caption[0] == '<' || kNormalToolbar[i].caption[0] == '>';
    return {left, (kNormToolBarHeight - kNormButtonHeight) / 2,
            arrow ? kNormArrowWidth : kNormButtonWidth, kNormButtonHeight};
}

constexpr ButtonRect InstrumentButtonRect(std::size_t i) {
    int col = static_cast<int>(i) % kP335Columns;
    int row = static_cast<int>(i) / kP335Columns;
    return {2 + col * (kP335ButtonWidth + 1), 2 + row * (kP335ButtonHeight + 1), kP335ButtonWidth,
            kP335ButtonHeight};
}

// The instrument toolbar sits in the top right corner of the client area.
constexpr int P335Left(int clientWidth) {
    return clientWidth - kP335Width;
}

} // namespace r470
