// The older capture file, still read and written for other tools: eight 20-byte texts, one byte
// field, then raw sample memory.
//
//   offset   0  eight texts of 20 bytes, copied byte for byte (no terminator added)
//   offset 160  the byte field
//   offset 161  the first BufferLength bytes (not samples) of the sample memory
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace podcore::files {

constexpr size_t kLegacyTextCount = 8;
constexpr size_t kLegacyTextBytes = 20;
constexpr size_t kLegacyHeaderBytes = kLegacyTextCount * kLegacyTextBytes + 1;

// The caller's 20-byte text areas and byte field. Saving reads them (a null one counts as zero
// bytes); opening stores into them (a null one receives nothing).
struct LegacyFields {
    std::array<char*, kLegacyTextCount> texts{};
    uint8_t* byteField = nullptr;
};

// 1 written, 0 when the file could not be written whole.
int32_t SaveLegacyFile(const LegacyFields& fields, const char* fileName);

// Reads the fields and up to BufferLength bytes of sample memory, then sets BufferLength to the
// bytes read, so that saving again writes the same amount. Returns those bytes, 0 if the file
// does not open.
int32_t OpenLegacyFile(const LegacyFields& fields, const char* fileName);

} // namespace podcore::files
