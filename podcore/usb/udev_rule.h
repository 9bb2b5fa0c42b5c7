// The udev rule that grants the logged-in user access to pods (packaging/README.md): named by
// the library's access hint and by the programs that tell the user about a refused pod.
#pragma once

namespace podcore::usb {

constexpr const char* kUdevRule = "60-tarnwick-pod.rules";

} // namespace podcore::usb
