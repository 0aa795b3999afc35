#include "instrument/comm_port_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace r470 {
namespace {

// Whatever another program or the driver left in the port, the line we set is the same:
// 4800 8N1, raw bytes (no 0x00 dropped), no flow control, DTR and RTS raised.
TEST(CommLineSettings, EveryFieldTheLinkNeedsIsSetWhateverThePortHeld) {
    auto line = [](void (*prior)(DCB&)) {
        DCB d{};
        d.DCBlength = sizeof d;
        prior(d);
        EXPECT_TRUE(LineDcb(d, 4800, 'N', 8, 1));
        return std::vector<unsigned>{
            d.BaudRate,          d.ByteSize,     d.Parity,       d.StopBits,    d.fBinary,
            d.fParity,           d.fOutxCtsFlow, d.fOutxDsrFlow, d.fDtrControl, d.fDsrSensitivity,
            d.fTXContinueOnXoff, d.fOutX,        d.fInX,         d.fErrorChar,  d.fNull,
            d.fRtsControl,       d.fAbortOnError};
    };
    const std::vector<unsigned> want = {
        4800, 8, NOPARITY, ONESTOPBIT,         1, 0, 0, 0, DTR_CONTROL_ENABLE, 0, 1, 0,
        0,    0, 0,        RTS_CONTROL_ENABLE, 0};
    void (*rows[])(DCB&) = {
        [](DCB&) {},
        [](DCB& d) { d.fNull = d.fErrorChar = TRUE; },
        [](DCB& d) { d.fDsrSensitivity = d.fAbortOnError = TRUE; },
        [](DCB& d) { d.fOutxCtsFlow = d.fOutxDsrFlow = TRUE; },
        [](DCB& d) { d.fTXContinueOnXoff = FALSE, d.fOutX = d.fInX = TRUE; },
        [](DCB& d) { d.fDtrControl = DTR_CONTROL_HANDSHAKE, d.fRtsControl = RTS_CONTROL_TOGGLE; },
        [](DCB& d) { d.BaudRate = 9600, d.ByteSize = 7, d.Parity = EVENPARITY, d.fParity = TRUE; },
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(line(rows[i]), want) << "prior state " << i;
}

} // namespace
} // namespace r470
