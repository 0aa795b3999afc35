// What tdrtool needs of the system it runs on, one implementation per system.
#pragma once

#include <string>
#include <vector>

namespace tdrtool {

// The command line as UTF-8: on Windows from the wide command line, so that any file name
// arrives whole whatever the console's code page.
std::vector<std::string> CommandLine(int argc, char** argv);
// Standard output and error carry the bytes written, exactly: no "\r\n" for "\n" on
// Windows, so CSV and JSON are the same on every system.
void UseBinaryStreams();
// On Windows: no system box for a drive without a medium, and a console shows the UTF-8
// written to it (its code page is put back when the program ends).
void PrepareConsole();
bool StderrIsTerminal();
// Where the system keeps its fonts, for drawing without a desktop: on Windows the Windows
// folder's Fonts (the offscreen drawing finds no other there); "" where the drawing finds
// them itself.
std::string SystemFontFolder();

} // namespace tdrtool
