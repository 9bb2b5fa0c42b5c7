// The summary-backed and direct reductions against the plain reference, over random windows,
// after every kind of write the library makes to its buffer.
#include "reference_analysis.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using testing_support::Rows;

struct Window {
    int32_t start;
    uint32_t length;
    uint32_t scale;
    uint32_t subscale;
};

// Starts before, inside and past the data, often on or next to a block edge; scales from one
// sample to tens of thousands, and now and then exactly a summary block or group; lengths up to
// 1000 columns, kept so that the reference's sample-by-sample work stays modest.
Window RandomWindow(std::mt19937& rng, uint32_t valid) {
    auto uniform = [&rng](int64_t low, int64_t high) {
        return std::uniform_int_distribution<int64_t>(low, high)(rng);
    };
    Window w{};
    const int64_t kind = uniform(0, 19);
    if (kind == 0) {
        w.scale = static_cast<uint32_t>(uniform(0, 1) * uniform(1, 100));
        w.subscale = w.scale == 0 ? 0 : static_cast<uint32_t>(uniform(1, 8));
    } else if (kind < 15) {
        const int64_t exponent = uniform(0, 16);
        w.scale = kind % 4 == 0 ? static_cast<uint32_t>(64 << (4 * uniform(0, 2)))
                                : static_cast<uint32_t>(uniform(1, int64_t{1} << exponent));
    } else {
        w.subscale = static_cast<uint32_t>(uniform(1, 50));
    }
    const int64_t perColumn = std::max<uint32_t>(w.scale, 1);
    w.length = static_cast<uint32_t>(uniform(0, std::min<int64_t>(1000, 600'000 / perColumn)));

    const int64_t widthInSamples = int64_t{w.length} * perColumn;
    switch (uniform(0, 5)) {
    case 0:
        w.start = static_cast<int32_t>(uniform(-widthInSamples - 200, -1));
        break;
    case 1:
        w.start = static_cast<int32_t>(uniform(0, 4000) * 64 + uniform(-1, 1));
        break;
    case 2:
        w.start = static_cast<int32_t>(int64_t{valid} - uniform(-3, widthInSamples + 3));
        break;
    case 3:
        w.start = static_cast<int32_t>(uniform(-1, 1));
        break;
    default:
        w.start = static_cast<int32_t>(uniform(-widthInSamples, int64_t{valid} + 100));
        break;
    }
    return w;
}

std::string Describe(const Window& w) {
    return "start " + std::to_string(w.start) + " length " + std::to_string(w.length) +
           " scale " + std::to_string(w.scale) + " subscale " + std::to_string(w.subscale);
}

class ScreenScalingPropertyTest : public testing_support::LibraryBufferTest {
protected:
    // Compares the library's view of its own buffer, and of a copy of exactly the valid samples
    // handed in as a foreign source, with the reference.
    void CheckRandomWindows(const char* afterWrite, int windows) {
        const podcore::buffer::State& state = podcore::buffer::Buffer();
        const uint32_t valid = state.actualCaptureLength;
        const std::vector<uint32_t> data(state.samples, state.samples + valid);
        testing::internal::CaptureStdout();
        for (int i = 0; i < windows; ++i) {
            const Window w = RandomWindow(rng_, valid);
            const reference::Levels expected =
                reference::Scale(data, w.start, w.length, w.scale, w.subscale);
            Rows own(w.length);
            own.Scale(state.samples, w.start, w.scale, w.subscale);
            Rows foreign(w.length);
            foreign.Scale(data.data(), w.start, w.scale, w.subscale);
            if (own.Levels() != expected || foreign.Levels() != expected) {
                testing::internal::GetCapturedStdout();
                FAIL() << "after " << afterWrite << ", " << Describe(w)
                       << (own.Levels() != expected ? ": own buffer" : ": foreign source")
                       << " differs from the reference";
            }
        }
        testing::internal::GetCapturedStdout();
    }

    void WriteSignals(uint32_t validSamples) {
        podcore::buffer::State& state = podcore::buffer::Buffer();
        const std::vector<uint32_t> samples =
            testing_support::SignalLikeSamples(state.bufferLength, rng_);
        std::copy(samples.begin(), samples.end(), state.samples);
        state.actualCaptureLength = validSamples;
        podcore::buffer::MarkWritten();
    }

    std::mt19937 rng_{4242};
};

TEST_F(ScreenScalingPropertyTest, MatchesTheReferenceAfterEveryKindOfWrite) {
    constexpr int kWindows = 120;
    ASSERT_NE(MakeBuffer(1 << 18), nullptr);
    CheckRandomWindows("MakeBuffer", kWindows);

    DemoData();
    CheckRandomWindows("DemoData", kWindows);

    WriteSignals(200'003); // a file read: fewer valid samples than the buffer holds
    CheckRandomWindows("a file read", kWindows);

    WriteSignals(1 << 18); // the end of a capture, in the same buffer
    CheckRandomWindows("the end of a capture", kWindows);

    Release();
    ASSERT_NE(MakeBuffer(1 << 17), nullptr); // a smaller buffer, perhaps at the same address
    WriteSignals(1 << 17);
    CheckRandomWindows("a new buffer", kWindows);

    WriteSignals(100); // less than two blocks of valid data
    CheckRandomWindows("a short file", kWindows);
}

} // namespace
