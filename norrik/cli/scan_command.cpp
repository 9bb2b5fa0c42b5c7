#include "scan_command.h"

#include "command_output.h"
#include "command_status.h"
#include "podcore_api.h"
#include "usb/udev_rule.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace norrik::cli {
namespace {

constexpr const char* kDevicesRoot = "/sys/bus/usb/devices";
constexpr const char* kNodesRoot = "/dev/bus/usb";
// The room the window gives the library's lists; no entry is left at this value by a pod.
constexpr size_t kListRoom = 257;
constexpr uint32_t kUnwritten = 0xFFFFFFFF;

std::string SpeedWord(bool highSpeed) {
    return highSpeed ? "high-speed" : "full-speed";
}

std::vector<AttachedPod>::const_iterator Find(const std::vector<AttachedPod>& pods, uint32_t id) {
    return std::find_if(pods.begin(), pods.end(),
                        [id](const AttachedPod& pod) { return pod.id == id; });
}

} // namespace

std::vector<std::string> ScanLines(const LibraryPods& library,
                                   const std::vector<AttachedPod>& system) {
    std::vector<std::string> lines;
    std::vector<AttachedPod> unopened = system;
    for (size_t i = 0; i < library.ready.size(); ++i) {
        const uint32_t id = library.ready[i];
        bool highSpeed = i < library.highSpeed;
        if (const auto seen = Find(unopened, id); seen != unopened.end()) {
            highSpeed = seen->highSpeed;
            unopened.erase(seen);
        }
        lines.push_back(std::to_string(id) + " " + SpeedWord(highSpeed) + " ready");
    }
    for (const AttachedPod& pod : unopened) {
        const std::string state =
            pod.accessible ? "in use"
                           : std::string("no access to ") + pod.node + ": install the udev rule " +
                                 podcore::usb::kUdevRule +
                                 " (see packaging/README.md) and replug it";
        lines.push_back(std::to_string(pod.id) + " " + SpeedWord(pod.highSpeed) + " " + state);
    }
    if (lines.empty())
        lines.push_back("no pods");
    return lines;
}

std::vector<std::string> RunScan(bool virtualPods) {
    PodcoreApi& pod = Podcore();
    std::array<uint32_t, kListRoom> ids{};
    const int32_t count = std::clamp(pod.EnumeratePods(ids.data()), 0, int32_t{kListRoom});
    LibraryPods library;
    library.ready.assign(ids.begin(), ids.begin() + count);
    // This call stops at the first pod on a full-speed port; the identifiers it wrote before
    // tell how many come before it.
    std::array<uint32_t, kListRoom> fast{};
    fast.fill(kUnwritten);
    const int32_t fastCount = pod.NewEnumeratePods(fast.data());
    library.highSpeed =
        fastCount >= 0 ? library.ready.size()
                       : static_cast<size_t>(std::find(fast.begin(), fast.end(), kUnwritten) -
                                             fast.begin());
    // Virtual pods live inside the library only; the system knows nothing of them.
    const std::vector<AttachedPod> system =
        virtualPods ? std::vector<AttachedPod>{} : AttachedPods(kDevicesRoot, kNodesRoot);
    return ScanLines(library, system);
}

int ScanCommand(const std::vector<std::string>& arguments) {
    if (!arguments.empty())
        return Finish(kBadArguments, "scan takes no arguments besides --virtual-pod");
    std::string error;
    if (!BindProgramLibrary(error))
        return Finish(kBadArguments, error);
    const char* driver = std::getenv("PODCORE_DRIVER");
    const bool virtualPods = driver != nullptr && std::string_view(driver) == "sim";
    for (const std::string& line : RunScan(virtualPods))
        std::fprintf(CommandOutput(), "%s\n", line.c_str());
    return 0;
}

std::string ScanUsage() {
    return "Usage: norrik-cli scan\n"
           "Lists the attached pods, one line each: the identifier, high-speed or full-speed,\n"
           "then ready, in use (opened by another program) or the access problem with its\n"
           "remedy; \"no pods\" when none is attached. Exit status: 0, or 2 for bad arguments.\n";
}

} // namespace norrik::cli
