// Which adapter a serial device is, from sysfs and /dev/serial/by-id: what lets a user
// tell the instrument's cable from the other /dev/ttyUSBn.
#pragma once

#include "instrument/port_holders.h"

#include <string>

namespace r470 {

struct AdapterInfo {
    // "FTDI FT232R USB UART, serial A1B2C3", "built-in port", "pseudo-terminal" or "".
    std::string description;
    std::string byId; // its stable name under /dev/serial/by-id, or ""
    bool usb = false;
    std::string vendorId, productId; // of a USB adapter, as sysfs gives them ("0403")
};

AdapterInfo DescribeAdapter(const PortSystem& sys, const std::string& device);

} // namespace r470
