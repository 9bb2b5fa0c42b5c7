// Plain, slow restatements of the screen scaling and the pattern search, written straight from
// their definitions, against which the fast paths of the library are checked.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace reference {

// levels[b][c]: the level of sample bit b in column c.
using Levels = std::array<std::vector<uint8_t>, 21>;

// data holds exactly the valid samples; every read goes through at(), so a read past them
// throws instead of passing unnoticed. Arithmetic is exact (the windows tested never come near
// 32-bit limits). A window with both or neither of scale and subscale set is blank.
Levels Scale(const std::vector<uint32_t>& data, int32_t start, uint32_t length, uint32_t scale,
             uint32_t subscale);

// The occurrence walk of the search, step by step and sample by sample; samples past the data
// never match.
int32_t Search(const std::vector<uint32_t>& data, const std::vector<uint8_t>& pattern,
               uint32_t from, bool forward);

} // namespace reference
