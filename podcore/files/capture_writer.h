// The save sequence that both capture-file formats share: note the name in the diagnostic file
// "testit", then write the settings block and the start of the sample memory as one file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace podcore::files {

constexpr const char* kNameRecordFile = "testit";
constexpr size_t kNameRecordBytes = 200;

// The name cut to 200 bytes and padded with zero bytes to 200. A failure is ignored: the record
// is only a diagnostic.
void RecordSaveName(const char* fileName);

// Records the name, then replaces the file with `header` followed by the first `sampleBytes`
// bytes of the sample memory. Returns 1 when all of it was written, else 0 with any previous
// file left as it was.
int32_t WriteCaptureFile(const char* fileName, std::span<const uint8_t> header, size_t sampleBytes);

} // namespace podcore::files
