// The pod a command works with: the one asked for by identifier, or the first one listed,
// opened and made ready for streaming as the window's startup does.
#pragma once

#include "podcore_api.h"

#include <cstdint>
#include <optional>
#include <string>

namespace norrik::cli {

// Reads the value of --pod. False with a one-line reason when it is no identifier.
bool ParsePodOption(const std::string& value, std::optional<uint32_t>& podId, std::string& error);

// False with a one-line reason when no pod is attached, the one asked for is not, or it
// cannot be made ready.
bool OpenChosenPod(PodcoreApi& pod, std::optional<uint32_t> asked, uint32_t& chosen,
                   std::string& error);

} // namespace norrik::cli
