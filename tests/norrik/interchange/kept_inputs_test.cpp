// Replays every kept input of the foreign formats' fuzzers (seeds, a minimised corpus and each
// input that once found a fault) through the fuzz check, so that the ordinary and the sanitizer
// runs cover them all.
#include "foreign_reader_fuzz.h"
#include "kept_inputs.h"

#include <gtest/gtest.h>

namespace norrik::interchange {
namespace {

TEST(ForeignReaderKeptInputs, EveryKeptInputReadsWithoutAFault) {
    const std::filesystem::path kept =
        std::filesystem::path(TARNWICK_TEST_DATA) / "interchange" / "fuzz";
    for (const CaptureFormat format : {CaptureFormat::Sr, CaptureFormat::Vcd, CaptureFormat::Csv}) {
        const auto inputs = KeptInputs(kept / std::string(FormatName(format)));
        for (const auto& [path, input] : inputs) {
            SCOPED_TRACE(path.string());
            EXPECT_EQ(testing::FuzzForeignReader(format, input.data(), input.size()), 0);
        }
        EXPECT_GE(inputs.size(), 5u) << FormatName(format) << ": the seeds are missing";
    }
}

} // namespace
} // namespace norrik::interchange
