#include "adopted_summary.h"
#include "analysis/buffer_summary.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using testing_support::Rows;

class ScreenScalingTest : public testing_support::LibraryBufferTest {};

// Sample k holds k.
std::vector<uint32_t> CountingSamples() {
    std::vector<uint32_t> samples(131072);
    for (uint32_t k = 0; k < samples.size(); ++k)
        samples[k] = k;
    return samples;
}

struct Probe {
    int bit;
    uint32_t column;
    uint8_t level;
};

struct ScalingCase {
    const char* name;
    uint32_t validSamples;
    int32_t start;
    uint32_t length;
    uint32_t scale;
    uint32_t subscale;
    std::vector<Probe> probes;
};

TEST_F(ScreenScalingTest, ColumnLevelsOfTheView) {
    const ScalingCase cases[] = {
        {"window past the data: columns 98 on are blank", 1000, 0, 800, 10, 0,
         {{0, 0, 2}, {4, 0, 0}, {5, 97, 0}, {6, 97, 1}, {0, 98, 2}, {9, 98, 2}, {20, 799, 2}}},
        {"inside the data: column c is samples 10c to 10c + 9", 100'000, 0, 800, 10, 0,
         {{1, 0, 2}, {4, 0, 0}, {4, 1, 2}, {12, 799, 1}, {3, 799, 2}, {20, 799, 0}}},
        {"negative start: column 10 is samples 0 to 9", 100'000, -100, 800, 10, 0,
         {{0, 9, 2}, {4, 9, 2}, {4, 10, 0}, {3, 10, 2}, {3, 11, 2}, {4, 11, 2}}},
        {"zoomed in: sample k in columns 4k to 4k + 3", 100, 0, 800, 0, 4,
         {{0, 0, 0}, {0, 4, 1}, {0, 7, 1}, {0, 8, 0}, {0, 396, 1}, {1, 397, 1}, {6, 397, 1},
          {0, 398, 2}, {0, 799, 2}}},
        {"one sample per column never changes", 100'000, 7, 50, 1, 0,
         {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {0, 1, 0}, {3, 1, 1}, {0, 49, 0}}},
    };
    const std::vector<uint32_t> samples = CountingSamples();
    for (const ScalingCase& c : cases) {
        uint32_t* buffer = LoadBuffer(samples, c.validSamples);
        ASSERT_NE(buffer, nullptr);
        Rows rows(c.length);
        rows.Scale(buffer, c.start, c.scale, c.subscale);
        for (const Probe& p : c.probes)
            EXPECT_EQ(rows.At(p.bit, p.column), p.level)
                << c.name << ": output " << p.bit << " column " << p.column;
        Release();
    }
}

TEST_F(ScreenScalingTest, ColumnOfSamples1And3) {
    std::vector<uint32_t> samples(65536, 0);
    samples[0] = 0x01;
    samples[1] = 0x03;
    uint32_t* buffer = LoadBuffer(samples, 65536);
    ASSERT_NE(buffer, nullptr);
    Rows rows(1);
    rows.Scale(buffer, 0, 2, 0);
    EXPECT_EQ(rows.At(0, 0), 1);
    EXPECT_EQ(rows.At(1, 0), 2);
    for (int b = 2; b < 21; ++b)
        EXPECT_EQ(rows.At(b, 0), 0) << b;
}

TEST_F(ScreenScalingTest, PrintsTheSixDiagnosticLines) {
    uint32_t* buffer = MakeBuffer(65536);
    ASSERT_NE(buffer, nullptr);
    Rows rows(800);
    testing::internal::CaptureStdout();
    rows.Scale(buffer, -100, 10, 0);
    const std::string printed = testing::internal::GetCapturedStdout();
    const std::string expected = "start = -100\nlength = 800\nscale = 10\nsubscale = 0\n"
                                 "source = " +
                                 std::to_string(reinterpret_cast<intptr_t>(buffer)) +
                                 "\nActualCaptureLength = 65536\n";
    EXPECT_EQ(printed, expected);
}

// Outside what the view passes, but reachable through edited zoom fields: every column is
// blank, and nothing is divided by zero or read.
TEST_F(ScreenScalingTest, UnusableZoomOrNoDataGivesBlankColumns) {
    uint32_t* buffer = MakeBuffer(65536);
    ASSERT_NE(buffer, nullptr);
    struct Case {
        const char* name;
        const uint32_t* source;
        uint32_t scale, subscale;
    };
    const Case cases[] = {
        {"scale and subscale 0", buffer, 0, 0},
        {"scale and subscale both set", buffer, 10, 4},
        {"no source", nullptr, 10, 0},
        {"no source, zoomed in", nullptr, 0, 3},
    };
    for (const Case& c : cases) {
        Rows rows(800);
        rows.Scale(c.source, 0, c.scale, c.subscale);
        EXPECT_TRUE(rows.AllEqual(2)) << c.name;
    }

    Release();
    Rows rows(800);
    rows.Scale(nullptr, 0, 10, 0);
    EXPECT_TRUE(rows.AllEqual(2)) << "no buffer";
}

TEST_F(ScreenScalingTest, MissingOutputsAreSkipped) {
    uint32_t* buffer = MakeBuffer(65536);
    ASSERT_NE(buffer, nullptr);
    std::vector<uint8_t> bit0(10, Rows::kUnwritten);
    std::vector<uint8_t> bit20(10, Rows::kUnwritten);
    ScaleDataToScreen(buffer, bit0.data(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      nullptr, nullptr, nullptr, nullptr, nullptr, bit20.data(), -200, 10, 100, 0);
    EXPECT_EQ(bit0, std::vector<uint8_t>({2, 2, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(bit20, std::vector<uint8_t>({2, 2, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ScreenScalingTest, DemoDataLeavesTheSummaryOfItsSamples) {
    ASSERT_NE(MakeBuffer(1 << 20), nullptr);
    ASSERT_EQ(DemoData(), 1);
    EXPECT_TRUE(SummaryLeftByTheWriter(1 << 20));
}

// Whole blocks of a column come from the summary, which follows the buffer's writes: a sample
// changed behind the library's back stays unseen until the write is announced.
TEST_F(ScreenScalingTest, WholeBlocksComeFromTheSummaryOfTheLastWrite) {
    uint32_t* buffer = MakeBuffer(1 << 20);
    ASSERT_NE(buffer, nullptr);
    const uint32_t block = podcore::analysis::BufferSummary::kBaseBlock;
    const uint32_t inner = 10 * block + 5; // inside column 0's whole blocks
    Rows before(4);
    before.Scale(buffer, 0, 1000 * block, 0);
    EXPECT_EQ(before.At(0, 0), 1);

    buffer[inner] = 0x00;
    Rows stale(4);
    stale.Scale(buffer, 0, 1000 * block, 0);
    EXPECT_EQ(stale.At(0, 0), 1) << "the summary should answer for whole blocks";

    podcore::buffer::MarkWritten();
    Rows fresh(4);
    fresh.Scale(buffer, 0, 1000 * block, 0);
    EXPECT_EQ(fresh.At(0, 0), 2);
    EXPECT_EQ(fresh.At(0, 1), 1);

    // A zoomed-in view reads the samples themselves.
    buffer[2] = 0x00;
    Rows zoomed(4);
    zoomed.Scale(buffer, 0, 0, 1);
    EXPECT_EQ(zoomed.At(0, 2), 0);
}

} // namespace
