// The identifiers by which a pod is recognised. The pair lies in a vendor range that is set aside
// for testing and prototyping; the pod's boot EEPROM holds the same pair, with the pod's
// identifier as the release number (usb/firmware/pod_hardware.md).
#pragma once

#include <cstdint>

namespace podcore::usb {

constexpr uint16_t PodVendorId = 0x1209;
constexpr uint16_t PodProductId = 0x0001;

} // namespace podcore::usb
