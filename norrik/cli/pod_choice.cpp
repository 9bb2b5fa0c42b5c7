#include "pod_choice.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace norrik::cli {

bool ParsePodOption(const std::string& value, std::optional<uint32_t>& podId, std::string& error) {
    uint32_t id = 0;
    const char* end = value.data() + value.size();
    const auto [stop, failure] = std::from_chars(value.data(), end, id);
    if (value.empty() || failure != std::errc() || stop != end) {
        error = "--pod takes a pod identifier, a whole number, not '" + value + "'";
        return false;
    }
    podId = id;
    return true;
}

bool OpenChosenPod(PodcoreApi& pod, std::optional<uint32_t> asked, uint32_t& chosen,
                   std::string& error) {
    std::array<uint32_t, 257> ids{}; // the room the window gives the library's list
    const int32_t count = std::clamp(pod.EnumeratePods(ids.data()), 0, int32_t{257});
    if (count == 0) {
        error = "no pods";
        return false;
    }
    const auto end = ids.begin() + count;
    if (asked && std::find(ids.begin(), end, *asked) == end) {
        error = "no pod " + std::to_string(*asked) + " is attached (see scan)";
        return false;
    }
    chosen = asked.value_or(ids[0]);
    if (pod.InitializeKTLAPod(chosen) != 1) {
        error = "pod " + std::to_string(chosen) + " could not be opened for streaming";
        return false;
    }
    return true;
}

} // namespace norrik::cli
