// Run-length encoding of one column array into the drawing vectors of a waveform row.
#pragma once

#include <cstdint>

namespace podcore::analysis {

// A run word: the level in bits 12 and up, the run length in columns in bits 0 to 11.
constexpr uint32_t kRunLevelUnit = 4096;

// Writes one word per run and a terminating 0: each run ends at, and includes, the first column
// of the next level, so the run lengths add up to count. vectors needs room for the number of
// level changes + 2 words.
void CreateVectors(const uint8_t* levels, uint32_t* vectors, uint32_t count);

} // namespace podcore::analysis
