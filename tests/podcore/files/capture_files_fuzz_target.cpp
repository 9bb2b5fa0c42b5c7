// Feeds arbitrary bytes to the three capture-file readers. The first input byte chooses the
// sample buffer (0 to 255 samples, allocated exactly so that the sanitizers see any write past
// it); the rest is the file. Built as a fuzzer by scripts/fuzz-files and replayed over the kept
// inputs by the ordinary test suite.
#include "buffer/sample_buffer.h"
#include "exports/podcore.h"
#include "fuzz_check.h"
#include "settings_values.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using podcore::files::testing::SettingsValues;

void RemoveInput();

const std::string& InputPath() {
    static const std::string path = [] {
        const std::filesystem::path folder = std::filesystem::exists("/dev/shm")
                                                 ? "/dev/shm"
                                                 : std::filesystem::temp_directory_path();
        return (folder / ("capture_files_fuzz." + std::to_string(::getpid()))).string();
    }();
    // Registered after the path exists, so it runs before the path is destroyed.
    [[maybe_unused]] static const bool removedAtExit = std::atexit(RemoveInput) == 0;
    return path;
}

void RemoveInput() {
    std::remove(InputPath().c_str());
}

void InstallBuffer(uint32_t samples) {
    podcore::buffer::State& state = podcore::buffer::Buffer();
    podcore::buffer::Delete(state.samples);
    if (samples == 0)
        return;
    state.samples = new uint32_t[samples];
    std::fill_n(state.samples, samples, 0xA5A5A5A5u);
    state.bufferLength = samples;
    state.actualCaptureLength = samples;
}

uint32_t LittleEndianAt(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint32_t samples = data[0];
    const uint8_t* file = data + 1;
    const size_t fileSize = size - 1;
    {
        std::ofstream out(InputPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file), static_cast<std::streamsize>(fileSize));
    }
    const char* path = InputPath().c_str();
    const podcore::buffer::State& state = podcore::buffer::Buffer();

    uint32_t count = 12345;
    const int32_t sizeResult = GetFileBufferSize(&count, path);
    const uint32_t fileCount = fileSize >= 5 ? LittleEndianAt(file + 1) : 12345;
    FUZZ_CHECK(count == fileCount && sizeResult == static_cast<int32_t>(fileCount));

    InstallBuffer(samples);
    SettingsValues values;
    const int32_t samplesRead = podcore::files::testing::OpenSettings(values, path);
    const uint32_t fitting = fileSize >= 5 ? std::min(fileCount, samples) : 0;
    const size_t present = fileSize > 80 ? (fileSize - 80) / 4 : 0;
    FUZZ_CHECK(samplesRead == static_cast<int32_t>(std::min<size_t>(fitting, present)));
    FUZZ_CHECK(state.actualCaptureLength == static_cast<uint32_t>(samplesRead));
    FUZZ_CHECK(state.bufferLength == samples);

    InstallBuffer(samples);
    std::array<std::array<char, 20>, 8> texts{};
    uint8_t byteField = 0;
    const int32_t bytesRead = OpenFileData(texts[0].data(), texts[1].data(), texts[2].data(),
                                           texts[3].data(), texts[4].data(), texts[5].data(),
                                           texts[6].data(), texts[7].data(), &byteField, path);
    const size_t legacyPresent = fileSize > 161 ? fileSize - 161 : 0;
    FUZZ_CHECK(bytesRead == static_cast<int32_t>(std::min<size_t>(samples, legacyPresent)));
    FUZZ_CHECK(state.bufferLength == static_cast<uint32_t>(bytesRead));
    FUZZ_CHECK(state.actualCaptureLength <= state.bufferLength);
    for (uint32_t i = 0; i <= samples; ++i)
        LoggedData(i);
    return 0;
}
