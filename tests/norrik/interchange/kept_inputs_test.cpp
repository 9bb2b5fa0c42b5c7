// Replays every kept input of the foreign formats' fuzzers (seeds, a minimised corpus and each
// input that once found a fault) through the fuzz check, so that the ordinary and the sanitizer
// runs cover them all.
#include "foreign_reader_fuzz.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace norrik::interchange {
namespace {

TEST(ForeignReaderKeptInputs, EveryKeptInputReadsWithoutAFault) {
    const std::filesystem::path kept =
        std::filesystem::path(TARNWICK_TEST_DATA) / "interchange" / "fuzz";
    for (const CaptureFormat format : {CaptureFormat::Sr, CaptureFormat::Vcd, CaptureFormat::Csv}) {
        const std::filesystem::path folder = kept / std::string(FormatName(format));
        size_t replayed = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> input{std::istreambuf_iterator<char>(in), {}};
            SCOPED_TRACE(entry.path().string());
            EXPECT_EQ(testing::FuzzForeignReader(format, input.data(), input.size()), 0);
            ++replayed;
        }
        EXPECT_GE(replayed, 5u) << folder << ": the seeds are missing";
    }
}

} // namespace
} // namespace norrik::interchange
