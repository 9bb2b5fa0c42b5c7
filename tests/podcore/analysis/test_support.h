// Helpers shared by the analysis tests: signal-like random samples and a fixture that owns the
// library's buffer.
#pragma once

#include "library_buffer_fixture.h"

#include "buffer/sample_buffer.h"
#include "exports/podcore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace testing_support {

// Each bit holds its level for random runs, short for the low bits and up to 131,072 samples for
// the high ones, so that columns of every width see both steady and changing bits.
inline std::vector<uint32_t> SignalLikeSamples(size_t count, std::mt19937& rng) {
    std::vector<uint32_t> samples(count, 0);
    for (int bit = 0; bit < 32; ++bit) {
        std::uniform_int_distribution<size_t> runLength(1, size_t{1} << (bit % 18));
        uint32_t level = rng() & 1;
        for (size_t i = 0; i < count;) {
            const size_t end = std::min(count, i + runLength(rng));
            for (; i < end; ++i)
                samples[i] |= level << bit;
            level ^= 1;
        }
    }
    return samples;
}

// The 21 output rows of one ScaleDataToScreen call, each with a guard byte behind its last
// column.
class Rows {
public:
    explicit Rows(uint32_t length) : length_(length) {
        for (auto& row : rows_)
            row.assign(length + 1, kUnwritten);
    }
    void Scale(const uint32_t* source, int32_t start, uint32_t scale, uint32_t subscale) {
        auto r = [this](int b) { return rows_[b].data(); };
        ScaleDataToScreen(source, r(0), r(1), r(2), r(3), r(4), r(5), r(6), r(7), r(8), r(9),
                          r(10), r(11), r(12), r(13), r(14), r(15), r(16), r(17), r(18), r(19),
                          r(20), start, length_, scale, subscale);
        for (int b = 0; b < 21; ++b)
            EXPECT_EQ(rows_[b][length_], kUnwritten) << "output " << b << " written past length";
    }
    uint8_t At(int bit, uint32_t column) const { return rows_[bit][column]; }
    // The rows without their guard bytes.
    std::array<std::vector<uint8_t>, 21> Levels() const {
        std::array<std::vector<uint8_t>, 21> levels;
        for (int b = 0; b < 21; ++b)
            levels[b].assign(rows_[b].begin(), rows_[b].end() - 1);
        return levels;
    }
    bool AllEqual(uint8_t level) const {
        for (const auto& row : rows_)
            for (uint32_t c = 0; c < length_; ++c)
                if (row[c] != level)
                    return false;
        return true;
    }

    static constexpr uint8_t kUnwritten = 0xA5;

private:
    uint32_t length_;
    std::array<std::vector<uint8_t>, 21> rows_;
};

class LibraryBufferTest : public LibraryBufferFixture {
protected:
    // A fresh buffer of the given size (a multiple of 65536) holding samples, as a file read or
    // a capture would leave it: the samples written, the valid count set, the write announced.
    static uint32_t* LoadBuffer(const std::vector<uint32_t>& samples, uint32_t validSamples) {
        uint32_t* buffer = MakeBuffer(static_cast<uint32_t>(samples.size()));
        if (buffer == nullptr)
            return nullptr;
        std::copy(samples.begin(), samples.end(), buffer);
        podcore::buffer::Buffer().actualCaptureLength = validSamples;
        podcore::buffer::MarkWritten();
        return buffer;
    }
};

} // namespace testing_support
