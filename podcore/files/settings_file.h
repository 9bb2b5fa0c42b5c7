// The capture file the application saves and opens: an 80-byte block of settings fields, whose
// meaning only the application knows, followed by the sample words.
//
//   offset  0  byte field 1 (the rate code)     offset  5  byte fields 2 to 44, one byte each
//   offset  1  sample count, 32-bit             offset 48  word fields 1 to 8, 32-bit each
//   offset 80  the sample words
//
// Integers are little-endian and packed; there is no signature, version or checksum.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace podcore::files {

constexpr size_t kSettingsHeaderBytes = 80;
constexpr size_t kSettingsByteFields = 43;
constexpr size_t kSettingsWordFields = 8;

// The caller's variables, one pointer per field. Saving reads them (a null one counts as 0);
// opening stores into them (a null one receives nothing).
struct SettingsFields {
    uint8_t* rateCode = nullptr;
    uint32_t* sampleCount = nullptr;
    std::array<uint8_t*, kSettingsByteFields> byteFields{};  // byte fields 2 to 44
    std::array<uint32_t*, kSettingsWordFields> wordFields{}; // word fields 1 to 8
};

// Writes the fields and all BufferLength samples, whatever the count field says. 1 written,
// 0 when the file could not be written whole.
int32_t SaveSettingsFile(const SettingsFields& fields, const char* fileName);

// Reads the fields present in the file, then as many of the counted samples as the buffer
// holds. ActualCaptureLength becomes that many; the result is the samples actually read, 0 if
// the file does not open.
int32_t OpenSettingsFile(const SettingsFields& fields, const char* fileName);

// Stores the file's sample count in *sampleCount if the file holds one and returns
// *sampleCount; 0 with *sampleCount untouched if the file does not open.
int32_t ReadSettingsSampleCount(uint32_t* sampleCount, const char* fileName);

} // namespace podcore::files
