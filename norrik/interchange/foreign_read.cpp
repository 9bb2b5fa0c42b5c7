#include "interchange/foreign_read.h"

#include "app/acquisition_settings.h"
#include "interchange/foreign_formats.h"
#include "interchange/line_mapping.h"
#include "interchange/rate_choice.h"
#include "interchange/rate_text.h"
#include "interchange/resampler.h"
#include "interchange/shortest_interval.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace norrik::interchange {
namespace {

// Sample indexes are signed 32-bit throughout the program: no capture can be longer.
constexpr uint64_t kAddressableSamples = uint64_t{1} << 31;
constexpr uint32_t kBlockSamples = 65536;

struct RateDecision {
    uint64_t rateHz = 0;
    Fraction ticksPerSecond;
};

std::string SecondsText(double seconds) {
    const char* units[] = {"s", "ms", "us", "ns", "ps"};
    int unit = 0;
    while (unit < 4 && std::fabs(seconds) < 1) {
        seconds *= 1000;
        ++unit;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.4g %s", seconds, units[unit]);
    return text;
}

// Told whenever the rate read at lies below the file's own.
std::string LossNote(uint64_t rateHz) {
    return " Pulses shorter than a sample at " + MspsText(rateHz) + " may be lost.";
}

// The rate a file is read at, and the note that says why, when the file's rate is not kept.
bool DecideRate(ForeignReader& reader, const FileLayout& layout, const LineMapping& mapping,
                const ReadOptions& options, const ProgressHook& progress, RateDecision& decision,
                std::vector<std::string>& notes, std::string& error) {
    // 0 when no rate was asked for.
    const uint64_t asked = options.rateCode ? RateHzOfCode(*options.rateCode).value_or(0) : 0;
    const auto askedOr = [asked](uint64_t otherwise) { return asked != 0 ? asked : otherwise; };
    decision.ticksPerSecond = layout.ticksPerSecond;
    if (layout.recordedRate) {
        const uint64_t fileRate = *layout.recordedRate;
        decision.rateHz = askedOr(CaptureRateAtOrAbove({fileRate, 1}));
        if (decision.rateHz != fileRate)
            notes.push_back("The file's rate, " + RateText(fileRate) + ", is read at " +
                            MspsText(decision.rateHz) + "." +
                            (decision.rateHz < fileRate ? LossNote(decision.rateHz) : ""));
        return true;
    }
    if (layout.ticksPerSecond.num == 0) {
        decision.rateHz = askedOr(kDefaultRateHz);
        decision.ticksPerSecond = {decision.rateHz, 1};
        notes.push_back("The file records no sample rate: its samples are read as " +
                        MspsText(decision.rateHz) + ".");
        return true;
    }
    // Times without a rate: the shortest value decides it.
    ShortestInterval interval;
    uint64_t endTick = 0;
    if (!reader.Replay(mapping.masks, interval, progress, endTick, error))
        return false;
    const Fraction perSecond = layout.ticksPerSecond;
    const Fraction fileRate{perSecond.num, perSecond.den * interval.Ticks().value_or(0)};
    const bool changes = interval.Ticks().has_value();
    decision.rateHz = askedOr(CaptureRateAtOrAbove(changes ? fileRate : Fraction{1, 1}));
    if (!changes) {
        notes.push_back("The file records no sample rate and its lines never change: read at " +
                        MspsText(decision.rateHz) + ".");
        return true;
    }
    const double shortest =
        double(*interval.Ticks()) * double(perSecond.den) / double(perSecond.num);
    const bool lossy =
        static_cast<unsigned __int128>(decision.rateHz) * fileRate.den < fileRate.num;
    notes.push_back("The file records no sample rate: read at " + MspsText(decision.rateHz) +
                    ", its shortest pulse being " + SecondsText(shortest) + "." +
                    (lossy ? LossNote(decision.rateHz) : ""));
    return true;
}

} // namespace

bool ReadForeignCapture(ForeignReader& reader, const ReadOptions& options,
                        const ProgressHook& progress, ForeignCapture& capture, std::string& error) {
    FileLayout layout;
    if (!reader.ReadLayout(layout, error))
        return false;
    if (layout.channels.empty()) {
        error = "the file holds no logic channels";
        return false;
    }
    capture.notes = layout.notes;
    const LineMapping mapping = MapLines(layout.channels);
    capture.notes.insert(capture.notes.end(), mapping.notes.begin(), mapping.notes.end());

    const size_t limit = options.maxSamples & ~(kBlockSamples - 1);
    if (limit == 0) {
        error = "the memory allows no buffer";
        return false;
    }

    // A file without a rate is read twice: once for its shortest pulse, once for its samples.
    const bool twoPasses = !layout.recordedRate && layout.ticksPerSecond.num != 0;
    const auto share = [&progress](double from, double span) -> ProgressHook {
        if (!progress)
            return {};
        return [&progress, from, span](double done) { progress(from + span * done); };
    };
    RateDecision decision;
    if (!DecideRate(reader, layout, mapping, options, share(0, 0.5), decision, capture.notes,
                    error))
        return false;

    Resampler resampler(decision.ticksPerSecond, decision.rateHz, limit, kAddressableSamples);
    uint64_t endTick = 0;
    if (!reader.Replay(mapping.masks, resampler, twoPasses ? share(0.5, 0.5) : share(0, 1), endTick,
                       error))
        return false;
    const uint64_t total = resampler.Finish(endTick);
    if (total == 0) {
        error = "the file holds no samples";
        return false;
    }
    if (resampler.Beyond() || total > kAddressableSamples) {
        error = "the file's samples reach sample " + std::to_string(total) + " at " +
                MspsText(decision.rateHz) + ", beyond the " + std::to_string(kAddressableSamples) +
                " any capture can hold";
        return false;
    }
    if (total > limit) {
        capture.notes.push_back("Only the first " + std::to_string(limit) + " of the file's " +
                                std::to_string(total) + " samples at " + MspsText(decision.rateHz) +
                                " were read: the memory allows no more.");
    }
    capture.samples = std::move(resampler.Result());
    capture.rateCode = CodeOfCaptureRate(decision.rateHz);
    return true;
}

bool ReadForeignFile(CaptureFormat format, const std::string& path, const ReadOptions& options,
                     const ProgressHook& progress, ForeignCapture& capture, std::string& error) {
    std::unique_ptr<ForeignReader> reader = MakeReader(format, path);
    if (!reader) {
        error = "no reader for this format";
        return false;
    }
    return ReadForeignCapture(*reader, options, progress, capture, error);
}

} // namespace norrik::interchange
