// The back end for real pods: libusb-1.0 on Linux, answering the driver requests.
#pragma once

#include "usb/driver.h"

#include <memory>

namespace podcore::usb::libusb {

std::unique_ptr<Driver> MakeLibusbDriver();

} // namespace podcore::usb::libusb
