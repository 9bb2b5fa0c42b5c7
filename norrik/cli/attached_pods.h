// The pods the system sees on its USB buses, whether or not the library could open them, read
// from the kernel's device records: a pod another program holds, or one the user may not open,
// is listed by the system but not by the library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace norrik::cli {

struct AttachedPod {
    uint32_t id = 0;        // the release number of its device descriptor
    bool highSpeed = false;
    bool accessible = false; // its device node can be opened for reading and writing
    std::string node;        // the device node, for the access hint
};

// Pods among the devices under `devicesRoot` (the kernel's /sys/bus/usb/devices) in the order of
// their record names; device nodes are looked for under `nodesRoot` (/dev/bus/usb). A record
// that cannot be read whole, or whose fields are no numbers, is not a pod.
std::vector<AttachedPod> AttachedPods(const std::string& devicesRoot, const std::string& nodesRoot);

} // namespace norrik::cli
