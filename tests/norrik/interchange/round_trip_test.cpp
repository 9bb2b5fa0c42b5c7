// A capture file of our own through each other format and back, at each of the nine rates, with
// the real library's buffer and file calls: the same samples and the same rate come back.
#include "interchange_files.h"

#include "app/acquisition_settings.h"
#include "interchange/buffer_plan.h"
#include "interchange/capture_io.h"
#include "podcore_api.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace norrik::interchange {
namespace {

using testing::TestPath;

constexpr uint32_t kSamples = 65536;

class RoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(LoadPodcore({PODCORE_LIBRARY}, Podcore(), error)) << error;
    }

    // Opens a file into the library's buffer, replacing the one there is.
    OpenedCapture Open(const std::string& path, std::optional<uint8_t> rateCode = {}) {
        OpenedCapture opened;
        opened.buffer = buffer_;
        opened.bufferSamples = bufferSamples_;
        std::string error;
        EXPECT_TRUE(OpenCaptureIntoBuffer(Podcore(), path, rateCode, opened, error)) << error;
        buffer_ = opened.buffer;
        bufferSamples_ = opened.bufferSamples;
        return opened;
    }

    void Write(const OpenedCapture& opened, const std::string& path, CaptureFormat format,
               WriteOptions options = {}) {
        std::string error;
        EXPECT_TRUE(WriteBufferToFile(Podcore(), opened.buffer, opened.fields, path, format,
                                      options, {}, error))
            << error;
    }

    // A capture file of generated samples at the rate.
    std::vector<uint32_t> SaveGenerated(const std::string& path, uint8_t rateCode) {
        OpenedCapture made;
        if (buffer_ != nullptr)
            Podcore().DeleteBuffer(buffer_);
        buffer_ = made.buffer = Podcore().MakeBuffer(kSamples);
        bufferSamples_ = kSamples;
        const std::vector<uint32_t> samples = testing::GeneratedSamples(kSamples, rateCode);
        std::copy(samples.begin(), samples.end(), made.buffer);
        made.fields = FieldsOfSamplesAlone(rateCode, kSamples);
        Write(made, path, CaptureFormat::Nrk);
        return samples;
    }

    std::vector<uint32_t> Buffer() const { return {buffer_, buffer_ + bufferSamples_}; }

    uint32_t* buffer_ = nullptr;
    int32_t bufferSamples_ = 0;
};

TEST_F(RoundTrip, EveryFormatGivesBackTheSamplesAndTheRateAtEveryRate) {
    struct Way {
        CaptureFormat format;
        WriteOptions options;
    };
    const Way ways[] = {{CaptureFormat::Sr, {}},
                        {CaptureFormat::Vcd, {}},
                        {CaptureFormat::Csv, {CsvRows::Changes}},
                        {CaptureFormat::Csv, {CsvRows::Samples}}};
    for (const RateChoice& rate : kRates) {
        for (const Way& way : ways) {
            SCOPED_TRACE(std::string(rate.label) + " through " +
                         std::string(FormatName(way.format)) +
                         (way.options.csvRows == CsvRows::Samples ? " (a row per sample)" : ""));
            const std::vector<uint32_t> samples = SaveGenerated(TestPath("start.nrk"), rate.code);

            const OpenedCapture start = Open(TestPath("start.nrk"));
            ASSERT_EQ(Buffer(), samples);
            const std::string foreign = TestPath("through." + std::string(FormatName(way.format)));
            Write(start, foreign, way.format, way.options);

            const OpenedCapture through = Open(foreign);
            EXPECT_EQ(through.format, way.format);
            EXPECT_EQ(through.notes, std::vector<std::string>());
            Write(through, TestPath("back.nrk"), CaptureFormat::Nrk);

            const OpenedCapture back = Open(TestPath("back.nrk"));
            EXPECT_EQ(back.fields.rateCode, rate.code);
            EXPECT_EQ(back.bufferSamples, int32_t(kSamples));
            EXPECT_TRUE(Buffer() == samples);
        }
    }
}

// --rate reads a capture file of our own at another rate, nearest neighbour, and says so.
TEST_F(RoundTrip, AnotherRateResamplesByTheRules) {
    const std::vector<uint32_t> samples = SaveGenerated(TestPath("fast.nrk"), 247);
    const OpenedCapture slow = Open(TestPath("fast.nrk"), uint8_t{87});
    EXPECT_EQ(slow.fields.rateCode, 87);
    ASSERT_EQ(slow.notes.size(), 1u);
    EXPECT_NE(slow.notes[0].find("24 MHz, is read at 8 MS/s. Pulses shorter"), std::string::npos)
        << slow.notes[0];
    // Sample j is sample 3j of the file; the tail repeats the last one kept.
    const std::vector<uint32_t> buffer = Buffer();
    const size_t kept = (kSamples + 2) / 3;
    for (size_t j = 0; j < kept; ++j)
        ASSERT_EQ(buffer[j], samples[j * 3]) << j;
    EXPECT_TRUE(std::all_of(buffer.begin() + kept, buffer.end(),
                            [&](uint32_t word) { return word == samples[3 * (kept - 1)]; }));
}

} // namespace
} // namespace norrik::interchange
