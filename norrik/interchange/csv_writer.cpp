// Tables of the twenty lines: a header, a row for the first sample and one per change (or one
// per sample), times in seconds to the nanosecond. A row for the last sample keeps the capture's
// length, and a closing comment line records the rate.
#include "interchange/decimal_digits.h"
#include "interchange/foreign_formats.h"
#include "interchange/line_names.h"
#include "interchange/rate_text.h"
#include "interchange/replacing_output.h"
#include "interchange/sample_changes.h"
#include "interchange/sample_times.h"

#include <array>
#include <cstring>

namespace norrik::interchange {
namespace {

constexpr uint64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr size_t kProgressSamples = size_t{1} << 20;

// ",b0,b1,...,b7" for every value of a byte: eight lines' fields in one copy.
struct ByteFields {
    std::array<std::array<char, 16>, 256> text{};
    ByteFields() {
        for (size_t value = 0; value < 256; ++value) {
            for (size_t bit = 0; bit < 8; ++bit) {
                text[value][2 * bit] = ',';
                text[value][2 * bit + 1] = (value >> bit) & 1 ? '1' : '0';
            }
        }
    }
};

class CsvWriter final : public ForeignWriter {
public:
    explicit CsvWriter(CsvRows rows) : rows_(rows) {}

    bool Write(const CaptureSamples& capture, const std::string& path, const ProgressHook& progress,
               std::string& error) override {
        static const ByteFields kByteFields;
        ReplacingOutput out;
        if (!out.Open(path, error))
            return false;
        std::string header = "Time [s]";
        for (const Line& line : kLines)
            header.append(",").append(line.name);
        out.Write(header.append("\n"));

        const SampleTimes times(kNanosecondsPerSecond, capture.rateHz);
        const uint32_t* samples = capture.samples;
        SampleChanges changes(samples, capture.count, kLineBits);
        size_t reportAt = 0;
        for (size_t i = 0; i < capture.count; i = NextRow(changes, i, capture.count)) {
            if (progress && i >= reportAt) {
                progress(double(i) / double(capture.count));
                reportAt = i + kProgressSamples;
            }
            char* at = out.Room(96);
            const char* start = at;
            const uint64_t nanoseconds = times.At(i);
            at = WriteDecimal(at, nanoseconds / kNanosecondsPerSecond);
            *at++ = '.';
            at = WriteDigits(at, nanoseconds % kNanosecondsPerSecond, 9);
            const uint32_t word = samples[i];
            std::memcpy(at, kByteFields.text[word & 0xFF].data(), 16);
            std::memcpy(at + 16, kByteFields.text[(word >> 8) & 0xFF].data(), 16);
            at += 32;
            for (size_t k = 16; k < kLines.size(); ++k) {
                *at++ = ',';
                *at++ = (word & kLines[k].mask) != 0 ? '1' : '0';
            }
            *at++ = '\n';
            out.Advance(size_t(at - start));
        }
        out.Write("; Samplerate: " + RateText(capture.rateHz) + "\n");
        return out.Commit(error);
    }

private:
    // The row after sample i: the next sample, or the next change and at last the last sample.
    size_t NextRow(SampleChanges& changes, size_t i, size_t count) const {
        if (rows_ == CsvRows::Samples || i + 1 >= count)
            return i + 1;
        const size_t change = changes.Next();
        return change == count ? count - 1 : change;
    }

    CsvRows rows_;
};

} // namespace

std::unique_ptr<ForeignWriter> MakeCsvWriter(CsvRows rows) {
    return std::make_unique<CsvWriter>(rows);
}

} // namespace norrik::interchange
