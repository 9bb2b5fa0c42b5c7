// The inputs kept for a fuzz target (seeds, a minimised corpus and inputs that once found a
// fault), read for the test suite to replay.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

// Every file below `folder`, with its bytes.
inline std::vector<std::pair<std::filesystem::path, std::vector<uint8_t>>>
KeptInputs(const std::filesystem::path& folder) {
    std::vector<std::pair<std::filesystem::path, std::vector<uint8_t>>> inputs;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.emplace_back(entry.path(),
                            std::vector<uint8_t>{std::istreambuf_iterator<char>(in), {}});
    }
    return inputs;
}
