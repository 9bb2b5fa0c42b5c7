#include "virtual_pod_option.h"

#include <cstdlib>
#include <string_view>

namespace norrik {

namespace {
constexpr std::string_view kOption = "--virtual-pod";
} // namespace

bool IsVirtualPodOption(std::string_view argument) {
    return argument == kOption || (argument.starts_with(kOption) && argument[kOption.size()] == '=');
}

std::optional<std::string> VirtualPodRequest(int argc, const char* const* argv) {
    std::optional<std::string> request;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == kOption)
            request = "1";
        else if (IsVirtualPodOption(argument))
            request = std::string(argument.substr(kOption.size() + 1));
    }
    return request;
}

void UseVirtualPods(const std::string& podIds) {
    ::setenv("PODCORE_DRIVER", "sim", 1);
    ::setenv("PODCORE_SIM_PODS", podIds.c_str(), 1);
}

} // namespace norrik
