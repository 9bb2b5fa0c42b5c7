// Which line each channel of a file becomes: by name when every channel carries a distinct line
// name, else by number (channel 1 is P0 ... channel 20 is VDD, further channels are dropped).
#pragma once

#include "interchange/foreign_format.h"

#include <string>
#include <vector>

namespace norrik::interchange {

struct LineMapping {
    std::vector<uint32_t> masks;    // per channel, in the file's order; 0 for a dropped one
    std::vector<std::string> notes; // how channels became lines where names did not say it
};

LineMapping MapLines(const std::vector<FileChannel>& channels);

} // namespace norrik::interchange
