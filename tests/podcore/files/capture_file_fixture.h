// Shared ground for the capture-file tests: each test runs in a fresh temporary working folder
// (the save writes "testit" there) with no sample buffer, and can build files byte by byte.
#pragma once

#include "buffer/sample_buffer.h"
#include "exports/podcore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace podcore::files::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes(std::filesystem::file_size(path));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

inline void WriteAll(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void AppendLittleEndian32(Bytes& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

// Distinct values in all 32 bits, so that a swapped, shifted or truncated word shows.
inline uint32_t PatternSample(uint32_t index) {
    uint32_t x = index * 2654435761u + 0x9E3779B9u;
    x ^= x >> 15;
    return x * 2246822519u;
}

class CaptureFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        folder_ = std::filesystem::temp_directory_path() /
                  ("capture_files_test." + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
        ReleaseBuffer();
    }
    void TearDown() override {
        ReleaseBuffer();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    static void ReleaseBuffer() {
        if (uint32_t* samples = buffer::Buffer().samples)
            DeleteBuffer(samples);
    }

    // A buffer of `samples` (a multiple of 65536) holding the test pattern.
    static uint32_t* MakePatternBuffer(uint32_t samples) {
        ReleaseBuffer();
        uint32_t* memory = MakeBuffer(samples);
        for (uint32_t i = 0; memory != nullptr && i < samples; ++i)
            memory[i] = PatternSample(i);
        return memory;
    }

    // Names of the files in the working folder, to catch leftovers.
    static std::vector<std::string> FolderContents() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator("."))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static const buffer::State& Buffer() { return buffer::Buffer(); }

private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
};

} // namespace podcore::files::testing
