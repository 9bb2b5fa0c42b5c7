// Small files for the interchange tests, made in a folder of the test's own: text files, session
// archives with the entries a case needs, and generated captures of the twenty lines.
#pragma once

#include <zip.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace norrik::interchange::testing {

inline std::string TestPath(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / ("interchange_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

inline std::string WriteText(const std::string& name, const std::string& text) {
    const std::string path = TestPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A zip archive holding the entries in the order given.
inline std::string WriteSession(const std::string& name,
                                const std::vector<std::pair<std::string, std::string>>& entries) {
    const std::string path = TestPath(name);
    std::filesystem::remove(path);
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    EXPECT_NE(archive, nullptr);
    for (const auto& [entry, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        EXPECT_GE(zip_file_add(archive, entry.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    EXPECT_EQ(zip_close(archive), 0);
    return path;
}

// Samples of the twenty lines (no other bit set) with runs of every length from one sample up:
// each line toggles after a run drawn afresh, so that single-sample pulses are everywhere.
inline std::vector<uint32_t> GeneratedSamples(size_t count, uint32_t seed) {
    constexpr uint32_t kLineBits = 0x1BFFFF;
    std::mt19937 random(seed);
    std::vector<uint32_t> samples(count);
    uint32_t word = random() & kLineBits;
    for (size_t i = 0; i < count; ++i) {
        if (random() % 4 == 0)
            word ^= (1u << (random() % 21)) & kLineBits;
        samples[i] = word;
    }
    return samples;
}

} // namespace norrik::interchange::testing
