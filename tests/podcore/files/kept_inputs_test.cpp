// Replays every kept fuzzer input (the seed corpus and each input that once found a fault)
// through the fuzz target, so that the ordinary and the sanitizer runs cover them all.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(CaptureFileKeptInputs, EveryKeptInputReadsWithoutAFault) {
    const std::filesystem::path folder = std::filesystem::path(TARNWICK_TEST_DATA) / "files";
    size_t replayed = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> input{std::istreambuf_iterator<char>(in), {}};
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(input.data(), input.size()), 0);
        ++replayed;
    }
    EXPECT_GE(replayed, 5u) << "the seed corpus is missing";
}

} // namespace
