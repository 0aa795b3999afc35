// The table of the current waveform's details under the graph of a page or picture: the
// texts of the details labels, nine rows of four columns.
#pragma once

#include "display/canvas.h"
#include "display/display.h"
#include "display/label_source.h"
#include "waveform/waveform_set.h"

#include <array>
#include <vector>

namespace r470 {

// The label each cell repeats, row by row; "" for a cell that stays empty.
extern const std::array<std::array<const char*, 4>, 9> kDetailsTableLabels;

struct DetailsCell {
    int x = 0, y = 0;
    std::string text;
    Colour colour;
};

// The cells as drawn: the first row one line below the graph, columns at InfoCol1..4. Only
// the file name (and, for the difference, the second file name) are in colour.
std::vector<DetailsCell> DetailsTableCells(const DisplayState& layout, const WaveformSet& set,
                                           const LabelSource& labels);
void DrawDetailsTable(Canvas& canvas, const DisplayState& layout, const WaveformSet& set,
                      const LabelSource& labels);

} // namespace r470
