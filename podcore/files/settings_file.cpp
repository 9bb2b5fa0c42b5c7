#include "files/settings_file.h"

#include "buffer/sample_buffer.h"
#include "files/capture_writer.h"
#include "files/input_file.h"
#include "little_endian.h"

#include <algorithm>
#include <bit>

namespace podcore::files {
namespace {

// The sample words go to and from the file straight from the buffer's memory.
static_assert(std::endian::native == std::endian::little);

constexpr size_t kCountOffset = 1;
constexpr size_t kByteFieldsOffset = 5;
constexpr size_t kWordFieldsOffset = 48;

using Header = std::array<uint8_t, kSettingsHeaderBytes>;

// Calls visit(offset, pointer) for every field in file order; the one place the layout lives.
template <typename Visit> void ForEachField(const SettingsFields& fields, Visit&& visit) {
    visit(0, fields.rateCode);
    visit(kCountOffset, fields.sampleCount);
    for (size_t i = 0; i < kSettingsByteFields; ++i)
        visit(kByteFieldsOffset + i, fields.byteFields[i]);
    for (size_t i = 0; i < kSettingsWordFields; ++i)
        visit(kWordFieldsOffset + 4 * i, fields.wordFields[i]);
}

Header EncodeHeader(const SettingsFields& fields) {
    Header header{};
    ForEachField(fields, [&header](size_t offset, auto* field) {
        if (field == nullptr)
            return;
        if constexpr (sizeof *field == 1)
            header[offset] = *field;
        else
            PutLittleEndian32(&header[offset], *field);
    });
    return header;
}

// A field that the file does not hold in full leaves the caller's variable as it was.
void DecodeHeader(const Header& header, size_t available, const SettingsFields& fields) {
    ForEachField(fields, [&](size_t offset, auto* field) {
        if (field == nullptr || offset + sizeof *field > available)
            return;
        if constexpr (sizeof *field == 1)
            *field = header[offset];
        else
            *field = GetLittleEndian32(&header[offset]);
    });
}

} // namespace

int32_t SaveSettingsFile(const SettingsFields& fields, const char* fileName) {
    const Header header = EncodeHeader(fields);
    const size_t sampleBytes = size_t{buffer::Buffer().bufferLength.load()} * 4;
    return WriteCaptureFile(fileName, header, sampleBytes);
}

int32_t OpenSettingsFile(const SettingsFields& fields, const char* fileName) {
    InputFile file(fileName);
    if (!file.IsOpen())
        return 0;
    Header header{};
    const size_t available = file.Read(header.data(), header.size());
    DecodeHeader(header, available, fields);
    const uint32_t count =
        available >= kCountOffset + 4 ? GetLittleEndian32(&header[kCountOffset]) : 0;

    // The count comes from the file and may exceed the buffer: only what fits is read.
    buffer::State& state = buffer::Buffer();
    const uint32_t capacity = state.samples == nullptr ? 0 : state.bufferLength.load();
    const uint32_t fitting = std::min(count, capacity);
    const size_t bytesRead = file.Read(state.samples, size_t{fitting} * 4);
    // A file cut short holds fewer samples than it counts: what lies past them in the buffer is
    // an older capture's, not this file's, so it is not shown as data.
    const auto samplesRead = static_cast<uint32_t>(bytesRead / 4);
    state.actualCaptureLength = samplesRead;
    buffer::MarkWritten();
    return static_cast<int32_t>(samplesRead);
}

int32_t ReadSettingsSampleCount(uint32_t* sampleCount, const char* fileName) {
    InputFile file(fileName);
    if (!file.IsOpen() || sampleCount == nullptr)
        return 0;
    std::array<uint8_t, kCountOffset + 4> start{};
    if (file.Read(start.data(), start.size()) == start.size())
        *sampleCount = GetLittleEndian32(&start[kCountOffset]);
    return static_cast<int32_t>(*sampleCount);
}

} // namespace podcore::files
