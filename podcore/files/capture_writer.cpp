#include "files/capture_writer.h"

#include "buffer/sample_buffer.h"
#include "files/replacing_file.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace podcore::files {

void RecordSaveName(const char* fileName) {
    std::array<uint8_t, kNameRecordBytes> record{};
    if (fileName != nullptr)
        std::memcpy(record.data(), fileName, ::strnlen(fileName, record.size()));
    ReplacingFile file(kNameRecordFile);
    file.Write(record.data(), record.size());
    file.Commit();
}

int32_t WriteCaptureFile(const char* fileName, std::span<const uint8_t> header,
                         size_t sampleBytes) {
    RecordSaveName(fileName);
    const buffer::State& state = buffer::Buffer();
    const size_t storedBytes = state.samples == nullptr ? 0 : size_t{state.bufferLength} * 4;
    ReplacingFile file(fileName);
    const bool written = file.Write(header.data(), header.size()) &&
                         file.Write(state.samples, std::min(sampleBytes, storedBytes));
    return written && file.Commit() ? 1 : 0;
}

} // namespace podcore::files
