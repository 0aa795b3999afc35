// The serial port of the system the program was built for: termios on POSIX, the Win32
// communications API on Windows. Both take a PortMap and offer the same operations.
#pragma once

#ifdef _WIN32
#include "instrument/comm_port_win32.h"
namespace r470 {
using SystemPort = CommPortWin32;
}
#else
#include "instrument/termios_port.h"
namespace r470 {
using SystemPort = TermiosPort;
}
#endif
