#include "output/details_table.h"

namespace r470 {

const std::array<std::array<const char*, 4>, 9> kDetailsTableLabels{{
    {"LFilename", "SFilename", "", ""},
    {"LMemFN2", "SMemFN2", "LDate", "SDate"},
    {"LGain", "SGain", "LTime", "STime"},
    {"LMode", "SMode", "LCable", "SCable"},
    {"LRange", "SRange", "LComments", "SComments1"},
    {"LPulse", "SPulse", "", "SComments2"},
    {"LMachine", "SMachine", "", "SComments3"},
    {"LFilter", "SFilter", "", "SComments4"},
    {"LImpedance", "SImpedance", "", "SComments5"},
}};

std::vector<DetailsCell> DetailsTableCells(const DisplayState& s, const WaveformSet& set,
                                           const LabelSource& labels) {
    const bool diff = set.CurTrace == kDiffSlot;
    const Colour first = TraceColour(diff ? set.DiffA : set.CurTrace);
    const Colour second = diff ? TraceColour(set.DiffB) : kBlack;
    const int columns[4] = {s.InfoCol1, s.InfoCol2, s.InfoCol3, s.InfoCol4};
    std::vector<DetailsCell> cells;
    for (std::size_t row = 0; row < kDetailsTableLabels.size(); ++row) {
        int y = s.GraphBottom + s.LineHeight * static_cast<int>(row + 1);
        for (std::size_t col = 0; col < 4; ++col) {
            const char* name = kDetailsTableLabels[row][col];
            DetailsCell c{columns[col], y, *name ? labels.ShownLabelText(name) : "", kBlack};
            if (col == 1 && row == 0)
                c.colour = first;
            else if (col == 1 && row == 1)
                c.colour = second;
            cells.push_back(std::move(c));
        }
    }
    return cells;
}

void DrawDetailsTable(Canvas& canvas, const DisplayState& layout, const WaveformSet& set,
                      const LabelSource& labels) {
    canvas.SetFontColour(kBlack);
    for (const DetailsCell& c : DetailsTableCells(layout, set, labels)) {
        canvas.SetFontColour(c.colour);
        canvas.TextOut(c.x, c.y, c.text);
        canvas.SetFontColour(kBlack);
    }
}

} // namespace r470
