// Value change dumps of the twenty lines: one 1-bit wire per line under its name, a change at
// round(i x period) in ns where the period is whole nanoseconds and in ps otherwise, the rate in
// a comment, and a last timestamp where the capture ends.
#include "interchange/decimal_digits.h"
#include "interchange/foreign_formats.h"
#include "interchange/line_names.h"
#include "interchange/rate_text.h"
#include "interchange/replacing_output.h"
#include "interchange/sample_changes.h"
#include "interchange/sample_times.h"

#include <array>
#include <bit>

namespace norrik::interchange {
namespace {

constexpr uint64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr uint64_t kPicosecondsPerSecond = 1'000'000'000'000;
constexpr size_t kProgressSamples = size_t{1} << 20;

// The identifier of line k: printable characters, skipping the digits so that no value and
// identifier can be misread.
char IdentifierOf(size_t k) {
    return static_cast<char>(k < 15 ? '!' + k : ':' + (k - 15));
}

class VcdWriter final : public ForeignWriter {
public:
    bool Write(const CaptureSamples& capture, const std::string& path, const ProgressHook& progress,
               std::string& error) override {
        ReplacingOutput out;
        if (!out.Open(path, error))
            return false;
        const bool wholeNs = kNanosecondsPerSecond % capture.rateHz == 0;
        const SampleTimes times(wholeNs ? kNanosecondsPerSecond : kPicosecondsPerSecond,
                                capture.rateHz);
        out.Write("$version Tarnwick Logic Analyzer $end\n$comment Sample rate " +
                  RateText(capture.rateHz) + " $end\n$timescale 1 " + (wholeNs ? "ns" : "ps") +
                  " $end\n$scope module norrik $end\n");
        std::array<char, 32> identifierOfBit{};
        for (size_t k = 0; k < kLines.size(); ++k) {
            identifierOfBit[std::countr_zero(kLines[k].mask)] = IdentifierOf(k);
            out.Write("$var wire 1 " + std::string(1, IdentifierOf(k)) + " " +
                      std::string(kLines[k].name) + " $end\n");
        }
        out.Write("$upscope $end\n$enddefinitions $end\n");

        const uint32_t* samples = capture.samples;
        SampleChanges changes(samples, capture.count, kLineBits);
        size_t reportAt = 0;
        for (size_t i = 0; i < capture.count; i = changes.Next()) {
            if (progress && i >= reportAt) {
                progress(double(i) / double(capture.count));
                reportAt = i + kProgressSamples;
            }
            const uint32_t changed = i == 0 ? kLineBits : (samples[i] ^ samples[i - 1]) & kLineBits;
            char* at = out.Room(64 + 3 * kLines.size());
            const char* start = at;
            *at++ = '#';
            at = WriteDecimal(at, times.At(i));
            *at++ = '\n';
            if (i == 0)
                at = Copy(at, "$dumpvars\n");
            for (uint32_t bits = changed; bits != 0; bits &= bits - 1) {
                const int bit = std::countr_zero(bits);
                *at++ = (samples[i] >> bit) & 1 ? '1' : '0';
                *at++ = identifierOfBit[size_t(bit)];
                *at++ = '\n';
            }
            if (i == 0)
                at = Copy(at, "$end\n");
            out.Advance(size_t(at - start));
        }
        out.Write("#");
        out.Write(std::to_string(times.At(capture.count)).append("\n"));
        return out.Commit(error);
    }

private:
    template <size_t N> static char* Copy(char* at, const char (&text)[N]) {
        for (size_t i = 0; i + 1 < N; ++i)
            *at++ = text[i];
        return at;
    }
};

} // namespace

std::unique_ptr<ForeignWriter> MakeVcdWriter() {
    return std::make_unique<VcdWriter>();
}

} // namespace norrik::interchange
