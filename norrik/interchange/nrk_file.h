// The program's own capture files, read by the library: what is known of one before the library
// reads it into the buffer, so that a file that holds no capture is refused while the capture
// on screen is still there, and what is told about a file cut short or cut to the memory.
#pragma once

#include "interchange/buffer_plan.h"
#include "podcore_api.h"

#include <cstdint>
#include <string>
#include <vector>

namespace norrik::interchange {

struct NrkCheck {
    uint32_t count = 0;   // the samples the file says it holds
    uint64_t present = 0; // the samples it does hold
    uint64_t Readable() const { return count < present ? count : present; }
};

// False with a one-line reason when the file holds no settings block and sample.
bool CheckNrkFile(PodcoreApi& pod, const std::string& path, NrkCheck& check, std::string& error);

std::vector<std::string> NrkNotes(const NrkCheck& check, const BufferPlan& plan);

} // namespace norrik::interchange
