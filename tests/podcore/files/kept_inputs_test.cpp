// Replays every kept fuzzer input (the seed corpus and each input that once found a fault)
// through the fuzz target, so that the ordinary and the sanitizer runs cover them all.
#include "kept_inputs.h"

#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(CaptureFileKeptInputs, EveryKeptInputReadsWithoutAFault) {
    const auto inputs = KeptInputs(std::filesystem::path(TARNWICK_TEST_DATA) / "files");
    for (const auto& [path, input] : inputs) {
        SCOPED_TRACE(path.string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(input.data(), input.size()), 0);
    }
    EXPECT_GE(inputs.size(), 5u) << "the seed corpus is missing";
}

} // namespace
