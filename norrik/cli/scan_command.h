// norrik-cli scan: one line per attached pod, its identifier first, then its speed and whether
// it can be used, or "no pods".
#pragma once

#include "attached_pods.h"

#include <cstdint>
#include <string>
#include <vector>

namespace norrik::cli {

// What the library told: the pods it opened, in its order, and how many of them lie before the
// first one on a full-speed port (all of them when none is).
struct LibraryPods {
    std::vector<uint32_t> ready;
    size_t highSpeed = 0;
};

// The lines scan prints: the pods the library opened ("5 high-speed ready"), then those the
// system lists but the library could not open, "in use" by another program or refused for lack
// of permission, with the udev hint. A pod the system lists gives its speed; for the others
// the library's answer does.
std::vector<std::string> ScanLines(const LibraryPods& library,
                                   const std::vector<AttachedPod>& system);

// Asks the library (and, for real pods, the system) and returns the lines.
std::vector<std::string> RunScan(bool virtualPods);

std::string ScanUsage();

// The whole command: the arguments after "scan" checked, the lines printed; the exit status.
int ScanCommand(const std::vector<std::string>& arguments);

} // namespace norrik::cli
