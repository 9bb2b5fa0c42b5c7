// `norrik --virtual-pod[=IDS]`: run against the library's virtual pods instead of USB hardware,
// so that captures can be tried without a pod. The choice must be made before the library loads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace norrik {

// Whether an argument is the option, bare or with its identifiers.
bool IsVirtualPodOption(std::string_view argument);

// The pod identifiers the option asks for ("5,9"), "1" for the bare option, or nothing when the
// arguments do not hold it. The last occurrence wins.
std::optional<std::string> VirtualPodRequest(int argc, const char* const* argv);

// Selects the library's virtual driver with these pods for the library loaded after this call.
void UseVirtualPods(const std::string& podIds);

} // namespace norrik
