#include "shell/messages.h"

#include "common/cp1252.h"
#include "common/file_io.h"

#include <algorithm>
#include <array>
#include <utility>

namespace r470 {
namespace {

struct Entry {
    int number;
    const char* text;
};

// Kept sorted by number for the binary search below.
constexpr Entry kCatalogue[] = {
    {1, "KELVANOR"},
    {2, "PULSONIMETRY"},
    {3, "Version"},
    {8, "About"},
    {9, "Problem"},
    {10, "No traces loaded"},
    {11, "&Ok"},
    {12, "&Cancel"},
    {13, "Select comms port"},
    {14, "File Open"},
    {15, "File&name:"},
    {16, "Directory:"},
    {17, "&Files:"},
    {18, "&Directories"},
    {19, "Date"},
    {20, "Time"},
    {21, "Cable ID"},
    {22, "Comments"},
    {23, "Cursor 1"},
    {24, "Cursor 2"},
    {25, "Cursor 1-2"},
    {26, "File name"},
    {27, "Mem no"},
    {28, "Gain"},
    {29, "Mode"},
    {30, "Range"},
    {31, "Pulse width"},
    {32, "Machine"},
    {33, "&More..."},
    {34, "Edit comments"},
    {35, "Additional comments"},
    {36, "(Ctrl-Enter for new line)"},
    {37, "Select START or CANCEL"},
    {38, "&Start"},
    {39, "Data transfer"},
    {40, "Confirm"},
    {41, "Cancel transfer ?"},
    {42, "&Yes"},
    {43, "&No"},
    {44, "Clear current trace ?"},
    {45, "Clear ALL waveforms from screen ?"},
    {46, "Waveform Display Mode"},
    {47, "Waveform file"},
    {48, "Display"},
    {49, "Difference"},
    {50, "Difference waveform"},
    {51, "X-Axis Units"},
    {52, "Feet"},
    {53, "Metres"},
    {54, "Time"},
    {55, "Dielectric Units"},
    {56, "PVF"},
    {57, "V"},
    {58, "V/2"},
    {59, "Successfully copied to the clipboard"},
    {60, "File Save As"},
    {61, "Select"},
    {62, "To memory"},
    {63, "Export to instrument"},
    {64, "&Normal toolbar"},
    {65, "&Instrument toolbar"},
    {66, "COM 1"},
    {67, "COM 2"},
    {68, "COM 3"},
    {69, "COM 4"},
    {70, "Press RS232 then 3 on the"},
    {71, "instrument, then select START."},
    {72, "Press RS232 then 2 on the"},
    {73, "instrument."},
    {74, "Break detected"},
    {75, "CTS timeout"},
    {76, "DSR timeout"},
    {77, "Framing error"},
    {78, "Over-run"},
    {79, "RLSDTO timeout"},
    {80, "Receive overflow"},
    {81, "Parity error"},
    {82, "Transmit overflow"},
    {83, "Error detected"},
    {84, "Comms error"},
    {85, "Timed-out waiting for data"},
    {86, "Cannot change value"},
    {87, "Bad comms ID"},
    {88, "Unsupported baud rate"},
    {89, "Invalid byte size"},
    {90, "Invalid parameters"},
    {91, "Hardware not available"},
    {92, "Cannot allocate queues"},
    {93, "Device not open"},
    {94, "Device already open"},
    {95, "Cannot setup DCB"},
    {96, "Cannot setup comms device"},
    {97, "No printers defined"},
    {98, "Cannot output to printer"},
    {99, "Cannot allocate data buffer"},
    {100, "Data transfer incomplete"},
    {101, "No valid memory locations received"},
    {102, "Abandon data transfer"},
    {103, "File name cannot be more than 6 characters"},
    {104, "Overwrite existing file ?"},
    {105, "Error saving"},
    {106, "Maximum 4 waveforms allowed"},
    {107, "Clear current trace"},
    {108, "Memory location"},
    {109, "contains invalid data"},
    {110, "Cannot open clipboard"},
    {111, "Cannot empty clipboard"},
    {112, "Cannot save bitmap file"},
    {113, "Successfully saved to bitmap file"},
    {114, "Cannot calculate return loss on difference trace"},
    {116, "File is not a valid waveform file"},
    {117, "File cannot be loaded by this software version"},
    {118, "Error reading file from disk"},
    {119, "Cannot load file"},
    {120, "Cannot open data file"},
    {121, "File error"},
    {122, "Cannot change dielectric when X-axis is time"},
    {123, "Can only save memories received from instrument"},
    {124, "Invalid data received"},
    {125, "Cannot display or compare where no waveform loaded"},
    {126, "If comparing, you must select 2 waveforms"},
    {127, "Must select 2 waveforms to compare, to display the difference waveform"},
    {128, "Must display at least one waveform"},
    {129, "Invalid numeric format"},
    {130, "Memory location must be 1 to 48 and within capabilities of instrument"},
    {131, "Cannot select where no waveform"},
    {132, "Must specify memory for each selected waveform"},
    {133, "All memory locations must be different"},
    {134, "Clear current waveforms"},
    {135, "Successfully copied to the clipboard."},
    {136, "Data transfer failed"},
    {137, "Both cursors must be within trace range"},
    {138, "Waveform not on screen"},
    {139, "the gain is different"},
    {140, "the pulse width is different"},
    {141, "the gain and pulse width are different"},
    {142, "Filename :"},
    {143, "Comment options"},
    {144, "&No comments"},
    {145, "C&ommon comments"},
    {146, "&Individual comments"},
    {147, "No comments for any waveform"},
    {148, "Comments the same for all waveforms"},
    {149, "Different comments for each waveform"},
    {150, "Cancel this data transfer"},
    {151, "dBRL"},
    {152, "Return loss"},
    {153, "Close waveform files"},
    {154, "Close"},
    {155, "The dielectric value is different for this waveform."},
    {156, "In this situation you may only overlay waveforms"},
    {157, "if the X-axis units is time or all the dielectric"},
    {158, "values are made the same."},
    {159, "Change X-axis to time"},
    {160, "Make all dielectric values the same"},
    {161, "One or more waveforms have a different dielectric"},
    {162, "value. You may only change the X-axis units"},
    {163, "to distance if the dielectric values are made"},
    {164, "the same."},
    {165, "Make all dielectric values the same"},
    {166, "Dielectric units"},
    {167, "PVF"},
    {168, "V"},
    {169, "V/2"},
    {170, "Select memories to import"},
    {171, "Select ALL"},
    {172, "Trace Incompatibility."},
    {173, "The trace to be loaded may be incompatible because"},
    {174, "Load the trace anyway."},
    {175, "Clear other traces first."},
    {176, "Clear others"},
    {177, "Print."},
    {178, "Select OK to print or CANCEL ..."},
    {179, "Select waveform."},
    {180, "Choose waveform to edit :"},
    {181, "&More.."},
    {182, "Comments for all memories"},
    {183, "Comments for memory :"},
    {184, "&No further comments"},
    {185, "has changed. do you want to save the changes ?"},
    {186, "File 1"},
    {187, "Filename"},
    {188, "File 2"},
    {189, "Mem no"},
    {190, "Gain"},
    {191, "Mode"},
    {192, "Range"},
    {193, "Pulse width"},
    {194, "Machine"},
    {195, "Filter"},
    {196, "Impedance"},
    {197, "Date"},
    {198, "Time"},
    {199, "Rtn loss"},
    {200, "Cable ID"},
    {201, "Comments"},
    {202, "dB, Related distance"},
    {203, " ft/\xB5"
          "s"},
    {204, " m/\xB5"
          "s"},
    {205, "Cursor 1 : "},
    {206, "Cursor 2 : "},
    {207, "Cursor 1 - 2 : "},
    {208, "File not found"},
    {209, "Path not found"},
    {210, "Too many open files"},
    {211, "Access denied"},
    {212, "Disk read error"},
    {213, "Disk write error"},
    {214, "Error "},
    {215, "File Open"},
    {216, "File Save As"},
    {300, "Comments   "},
    {301, "Pulse width   "},
    {302, "PVF 999.9 ft/\xB5"
          "s"},
    {1101, "&File"},
    {1102, "&Import"},
    {1103, "&Graph"},
    {1104, "&Edit"},
    {1105, "E&xport"},
    {1106, "&Toolbar"},
    {1107, "&Help"},
    {1111, "&New"},
    {1112, "&Save    ^S"},
    {1113, "Save &as"},
    {1114, "&Print"},
    {1115, "E&xit"},
    {1121, "&Select comms port"},
    {1122, "&Import from instrument"},
    {1131, "&Add waveform         ^R"},
    {1132, "&Close waveform"},
    {1133, "Close all &waveforms"},
    {1134, "Z&oom                 ^O"},
    {1135, "&Select waveform      ^M"},
    {1136, "Change &X-Axis units"},
    {1137, "Change &dielectric units"},
    {1151, "To &clipboard"},
    {1152, "To &file"},
    {1153, "To &instrument"},
    {1161, "&Normal toolbar"},
    {1162, "&Instrument toolbar"},
    {1171, "&About"},
    {1201, "&Mode"},
    {1202, "&Save"},
    {1203, "&Recall"},
    {1204, "R&ng+"},
    {1205, "Rn&g-"},
    {1206, "&Diel+"},
    {1207, "Die&l-"},
    {1208, "&Amp+"},
    {1209, "Am&p-"},
    {1210, "Up"},
    {1211, "Dn"},
    {1212, "Z&oom"},
    {1213, "&Edit"},
    {1214, "dBRL"},
    {1215, "Down"},
};

constexpr bool SortedByNumber() {
    for (std::size_t i = 1; i < std::size(kCatalogue); ++i)
        if (kCatalogue[i - 1].number >= kCatalogue[i].number)
            return false;
    return true;
}
static_assert(SortedByNumber());

const std::string& EntryString(std::size_t index) {
    static const auto strings = [] {
        std::array<std::string, std::size(kCatalogue)> all;
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = kCatalogue[i].text;
        return all;
    }();
    return strings[index];
}

} // namespace

const std::string& MessageText(int number) {
    static const std::string empty;
    auto it = std::lower_bound(std::begin(kCatalogue), std::end(kCatalogue), number,
                               [](const Entry& e, int n) { return e.number < n; });
    if (it == std::end(kCatalogue) || it->number != number)
        return empty;
    return EntryString(static_cast<std::size_t>(it - std::begin(kCatalogue)));
}

std::string IoErrorText(int code) {
    switch (code) {
    case 2:
        return MessageText(208);
    case 3:
        return MessageText(209);
    case 4:
        return MessageText(210);
    case 5:
        return MessageText(211);
    case 100:
        return MessageText(212);
    case 101:
        return MessageText(213);
    case kNewBytesKept:
        return "The file could not be put in place; its new content is kept in " +
               Utf8ToCp1252(KeptNewFile());
    default:
        return MessageText(214) + std::to_string(code);
    }
}

} // namespace r470
