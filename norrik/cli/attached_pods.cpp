#include "attached_pods.h"

#include "usb/pod_ids.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace norrik::cli {
namespace {

namespace fs = std::filesystem;

// A record field: one number on one line, hexadecimal or decimal as the kernel writes it.
std::optional<uint32_t> NumberField(const fs::path& record, const char* name, int base) {
    std::ifstream in(record / name);
    std::string text;
    if (!std::getline(in, text))
        return std::nullopt;
    uint32_t number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, number, base);
    if (text.empty() || failure != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

// Mbit/s as the record's speed field gives it; 480 is high speed. A fraction ("1.5") is low.
std::optional<uint32_t> SpeedField(const fs::path& record) {
    std::ifstream in(record / "speed");
    std::string text;
    if (!std::getline(in, text))
        return std::nullopt;
    uint32_t mbits = 0;
    const auto [stop, failure] = std::from_chars(text.data(), text.data() + text.size(), mbits);
    if (failure != std::errc())
        return std::nullopt;
    return mbits;
}

std::optional<AttachedPod> PodOf(const fs::path& record, const std::string& nodesRoot) {
    const auto vendor = NumberField(record, "idVendor", 16);
    const auto product = NumberField(record, "idProduct", 16);
    if (vendor != podcore::usb::PodVendorId || product != podcore::usb::PodProductId)
        return std::nullopt;
    const auto release = NumberField(record, "bcdDevice", 16);
    const auto bus = NumberField(record, "busnum", 10);
    const auto device = NumberField(record, "devnum", 10);
    const auto speed = SpeedField(record);
    if (!release || !bus || !device || !speed || *bus > 999 || *device > 999)
        return std::nullopt;
    char node[32];
    std::snprintf(node, sizeof node, "/%03u/%03u", *bus, *device);
    AttachedPod pod;
    pod.id = *release;
    pod.highSpeed = *speed >= 480;
    pod.node = nodesRoot + node;
    pod.accessible = ::access(pod.node.c_str(), R_OK | W_OK) == 0;
    return pod;
}

} // namespace

std::vector<AttachedPod> AttachedPods(const std::string& devicesRoot,
                                      const std::string& nodesRoot) {
    std::error_code error;
    std::vector<fs::path> records;
    for (const auto& entry : fs::directory_iterator(devicesRoot, error))
        records.push_back(entry.path());
    std::sort(records.begin(), records.end());
    std::vector<AttachedPod> pods;
    for (const fs::path& record : records)
        if (const auto pod = PodOf(record, nodesRoot))
            pods.push_back(*pod);
    return pods;
}

} // namespace norrik::cli
