// The numbered message catalogue and the file-error texts. Texts are Windows-1252 bytes.
#pragma once

#include <string>

namespace r470 {

// Catalogue numbers used by name across the program.
enum Msg : int {
    MsgProblem = 9,
    MsgNoTraces = 10,
    MsgConfirm = 40,
    MsgOverwrite = 104,
    MsgMaxWaveforms = 106,
    MsgNotWaveformFile = 116,
    MsgWrongVersion = 117,
    MsgReadError = 118,
    MsgCannotLoad = 119,
    MsgCannotOpenData = 120,
    MsgFileError = 121,
    MsgHasChanged = 185,
};

// The catalogue text for `number`, or the empty text when there is none.
const std::string& MessageText(int number);

// The text shown for a file-system error code.
std::string IoErrorText(int code);

} // namespace r470
