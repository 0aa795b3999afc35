// Return loss: the size of a reflection against the size of the launched pulse, both read
// from the raw samples of one waveform between its cursors.
#pragma once

#include "analysis/return_loss_window.h"
#include "waveform/waveform_set.h"

namespace r470 {

// The measurement on the current waveform of a set, with the set's own refusals: nothing
// loaded, or the difference waveform current.
ReturnLoss MeasureCurrentReturnLoss(const WaveformSet& set, double c1, double c2);

} // namespace r470
