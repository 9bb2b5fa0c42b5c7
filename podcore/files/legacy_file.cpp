#include "files/legacy_file.h"

#include "buffer/sample_buffer.h"
#include "files/capture_writer.h"
#include "files/input_file.h"

#include <algorithm>
#include <cstring>

namespace podcore::files {
namespace {

using Header = std::array<uint8_t, kLegacyHeaderBytes>;
constexpr size_t kByteFieldOffset = kLegacyTextCount * kLegacyTextBytes;

Header EncodeHeader(const LegacyFields& fields) {
    Header header{};
    for (size_t i = 0; i < kLegacyTextCount; ++i) {
        if (fields.texts[i] != nullptr)
            std::memcpy(&header[i * kLegacyTextBytes], fields.texts[i], kLegacyTextBytes);
    }
    if (fields.byteField != nullptr)
        header[kByteFieldOffset] = *fields.byteField;
    return header;
}

// A field that the file does not hold in full leaves the caller's variable as it was.
void DecodeHeader(const Header& header, size_t available, const LegacyFields& fields) {
    for (size_t i = 0; i < kLegacyTextCount; ++i) {
        if (fields.texts[i] != nullptr && (i + 1) * kLegacyTextBytes <= available)
            std::memcpy(fields.texts[i], &header[i * kLegacyTextBytes], kLegacyTextBytes);
    }
    if (fields.byteField != nullptr && available == kLegacyHeaderBytes)
        *fields.byteField = header[kByteFieldOffset];
}

} // namespace

int32_t SaveLegacyFile(const LegacyFields& fields, const char* fileName) {
    const Header header = EncodeHeader(fields);
    return WriteCaptureFile(fileName, header, buffer::Buffer().bufferLength);
}

int32_t OpenLegacyFile(const LegacyFields& fields, const char* fileName) {
    InputFile file(fileName);
    if (!file.IsOpen())
        return 0;
    Header header{};
    DecodeHeader(header, file.Read(header.data(), header.size()), fields);

    // BufferLength counts samples but this format stores that many bytes, so the read always
    // fits. BufferLength only ever shrinks here, which keeps every later reader that trusts it
    // inside the allocation; the valid samples are capped to match.
    buffer::State& state = buffer::Buffer();
    const uint32_t limit = state.samples == nullptr ? 0 : state.bufferLength.load();
    const auto bytesRead = static_cast<uint32_t>(file.Read(state.samples, limit));
    state.bufferLength = bytesRead;
    state.actualCaptureLength = std::min(state.actualCaptureLength.load(), bytesRead);
    buffer::MarkWritten();
    return static_cast<int32_t>(bytesRead);
}

} // namespace podcore::files
