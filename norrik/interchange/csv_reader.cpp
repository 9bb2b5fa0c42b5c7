// Tables of samples: a header row, a first column of times in seconds (or of sample numbers
// under "Sample"), and one 0/1 column per channel. A table that records its sample rate in a
// comment line (';', as this program and other analyzers write) is read on samples of that rate.
#include "interchange/foreign_formats.h"
#include "interchange/rate_text.h"
#include "interchange/rational_scale.h"
#include "interchange/text_lines.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace norrik::interchange {
namespace {

using Wide = __int128;

constexpr uint64_t kFemtosecondsPerSecond = 1'000'000'000'000'000;
// Comments that record a rate are looked for this far from the end.
constexpr size_t kTailBytes = 4096;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool IsComment(std::string_view line) {
    const std::string_view text = Trim(line);
    return text.empty() || text.front() == ';' || text.front() == '#';
}

std::optional<uint64_t> RateOfComment(std::string_view line) {
    if (Lower(line).find("rate") == std::string::npos)
        return std::nullopt;
    const auto rate = FindRateInText(line);
    return rate && *rate > 0 && *rate <= kFastestFileRate ? rate : std::nullopt;
}

// Femtoseconds per unit of the time column, from its caption: "Time [s]", "Time [us]",
// "microseconds"; seconds when it names none.
uint64_t TimeUnitOf(std::string_view caption) {
    const std::string lower = Lower(caption);
    constexpr std::array<std::pair<std::string_view, uint64_t>, 10> kUnits = {{
        {"[ms]", 1'000'000'000'000},
        {"[us]", 1'000'000'000},
        {"[\xc2\xb5s]", 1'000'000'000},
        {"[ns]", 1'000'000},
        {"[ps]", 1'000},
        {"milli", 1'000'000'000'000},
        {"micro", 1'000'000'000},
        {"nano", 1'000'000},
        {"pico", 1'000},
        {"[s]", kFemtosecondsPerSecond},
    }};
    for (const auto& [name, femtoseconds] : kUnits) {
        if (lower.find(name) != std::string::npos)
            return femtoseconds;
    }
    return kFemtosecondsPerSecond;
}

// A decimal number ("-1.5e-6") times `scale`, rounded to a whole number; nothing when the text
// is no number or the value is beyond +-10^30.
std::optional<Wide> ScaledNumber(std::string_view text, uint64_t scale) {
    constexpr Wide kLargest = Wide{1'000'000'000'000'000} * 1'000'000'000'000'000;
    size_t at = 0;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    // Eighteen significant digits are kept, more than any time needs: the rest only scale.
    uint64_t mantissa = 0;
    int exponent = 0;
    int digits = 0;
    bool seenPoint = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            ++digits;
            if (mantissa < 100'000'000'000'000'000) {
                mantissa = mantissa * 10 + unsigned(c - '0');
                exponent -= seenPoint ? 1 : 0;
            } else if (!seenPoint) {
                ++exponent;
            }
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        const bool down = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            ++at;
        int power = 0;
        const size_t begin = at;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
            power = std::min(power * 10 + (text[at] - '0'), 1000);
        if (at == begin)
            return std::nullopt;
        exponent += down ? -power : power;
    }
    if (at != text.size())
        return std::nullopt;
    // At most 10^18 x 10^15: well inside 128 bits.
    Wide value = Wide{mantissa} * scale;
    for (; exponent > 0; --exponent) {
        if (value > kLargest)
            return std::nullopt;
        value *= 10;
    }
    for (; exponent < 0 && value != 0; ++exponent)
        value = exponent == -1 ? (value + 5) / 10 : value / 10;
    if (value > kLargest)
        return std::nullopt;
    return negative ? -value : value;
}

class CsvReader final : public ForeignReader {
public:
    explicit CsvReader(std::string path) : path_(std::move(path)) {}

    bool ReadLayout(FileLayout& layout, std::string& error) override {
        if (!lines_.Open(path_, error) || !ReadHeader(error))
            return false;
        for (size_t i = 1; i < captions_.size(); ++i)
            layout.channels.push_back({int(i), captions_[i]});
        const std::string tailText = lines_.Tail(kTailBytes);
        std::string_view tail = tailText;
        while (!tail.empty() && !recordedRate_) {
            const size_t lineEnd = tail.find('\n');
            const std::string_view line = tail.substr(0, lineEnd);
            if (IsComment(line))
                recordedRate_ = RateOfComment(line);
            tail.remove_prefix(lineEnd == std::string_view::npos ? tail.size() : lineEnd + 1);
        }
        layout.recordedRate = recordedRate_;
        if (recordedRate_)
            layout.ticksPerSecond = {*recordedRate_, 1};
        else if (!numbered_)
            layout.ticksPerSecond = {kFemtosecondsPerSecond, 1};
        return true;
    }

    bool Replay(std::span<const uint32_t> lineMasks, SampleSink& sink, const ProgressHook& progress,
                uint64_t& endTick, std::string& error) override {
        if (!lines_.Rewind(error) || !ReadHeader(error))
            return false;
        masks_.assign(lineMasks.begin(), lineMasks.end());
        if (recordedRate_)
            samplesOfTime_.emplace(*recordedRate_, kFemtosecondsPerSecond);
        bool first = true;
        Wide origin = 0;
        uint64_t lastTick = 0;
        uint32_t lastWord = 0;
        std::string_view line;
        while (lines_.Next(line)) {
            if (progress && lines_.LineNumber() % 65536 == 0)
                progress(double(lines_.BytesRead()) /
                         double(std::max<uint64_t>(lines_.FileSize(), 1)));
            if (IsComment(line))
                continue;
            const size_t comma = line.find(',');
            const std::string_view timeText = Trim(line.substr(0, comma));
            const std::optional<Wide> at =
                numbered_ ? ScaledNumber(timeText, 1) : ScaledNumber(timeText, timeUnit_);
            if (!at || (numbered_ && *at < 0)) {
                error = At() + "'" + std::string(timeText.substr(0, 30)) + "' is no " +
                        (numbered_ ? "sample number" : "time");
                return false;
            }
            uint32_t word = 0;
            const std::string_view values =
                comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
            if (comma == std::string_view::npos || !ReadValues(values, word, error)) {
                if (error.empty())
                    error = FieldCountError(1);
                return false;
            }
            if (first)
                origin = *at;
            const Wide since = *at - origin;
            if (since < 0 || (!first && TickOf(since) < lastTick)) {
                error = At() + "the " + std::string(numbered_ ? "sample number " : "time ") +
                        std::string(timeText.substr(0, 30)) + " goes back";
                return false;
            }
            const uint64_t tick = TickOf(since);
            if (first || word != lastWord)
                sink.Change(tick, word);
            first = false;
            lastTick = tick;
            lastWord = word;
        }
        if (!lines_.Failed().empty()) {
            error = lines_.Failed();
            return false;
        }
        endTick = first ? 0 : lastTick + 1;
        return true;
    }

private:
    std::string At() const { return "line " + std::to_string(lines_.LineNumber()) + ": "; }

    std::string FieldCountError(size_t fields) const {
        return At() + "the row has " + std::to_string(fields) + " fields, the header " +
               std::to_string(captions_.size());
    }

    bool ReadHeader(std::string& error) {
        std::string_view line;
        bool firstLine = true;
        while (lines_.Next(line)) {
            if (firstLine && line.substr(0, 3) == "\xEF\xBB\xBF")
                line.remove_prefix(3);
            firstLine = false;
            if (IsComment(line)) {
                if (!recordedRate_)
                    recordedRate_ = RateOfComment(line);
                continue;
            }
            captions_.clear();
            for (size_t start = 0;;) {
                const size_t comma = line.find(',', start);
                captions_.emplace_back(Trim(line.substr(start, comma - start)));
                if (comma == std::string_view::npos)
                    break;
                start = comma + 1;
            }
            if (captions_.size() < 2) {
                error = "the header row '" + std::string(line.substr(0, 40)) +
                        "' names no 0/1 columns beside its first";
                return false;
            }
            numbered_ = Lower(captions_[0]) == "sample";
            timeUnit_ = TimeUnitOf(captions_[0]);
            return true;
        }
        error = lines_.Failed().empty() ? "the table has no header row" : lines_.Failed();
        return false;
    }

    // The 0/1 fields after the first: the channels' word.
    bool ReadValues(std::string_view values, uint32_t& word, std::string& error) const {
        const size_t channels = masks_.size();
        // Single digits between commas, as this program writes them.
        if (values.size() == 2 * channels - 1) {
            bool plain = true;
            for (size_t k = 0; k < channels && plain; ++k) {
                const unsigned digit = unsigned(values[2 * k] - '0');
                plain = digit <= 1 && (k + 1 == channels || values[2 * k + 1] == ',');
                word |= digit == 1 ? masks_[k] : 0;
            }
            if (plain)
                return true;
            word = 0;
        }
        size_t k = 0;
        for (size_t start = 0;; ++k) {
            const size_t comma = values.find(',', start);
            const std::string_view value = Trim(values.substr(start, comma - start));
            if (k < channels && value != "0" && value != "1") {
                error = At() + "column " + captions_[k + 1] + ": '" +
                        std::string(value.substr(0, 30)) + "' is not 0 or 1";
                return false;
            }
            if (k < channels && value == "1")
                word |= masks_[k];
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
        if (k + 1 != channels) {
            error = FieldCountError(k + 2);
            return false;
        }
        return true;
    }

    // Rounded to the nearest sample of the recorded rate, if there is one.
    uint64_t TickOf(Wide since) const {
        const uint64_t ticks = since > INT64_MAX ? uint64_t{INT64_MAX} : uint64_t(since);
        if (!recordedRate_ || numbered_)
            return ticks;
        return std::min<uint64_t>(samplesOfTime_->Nearest(ticks), INT64_MAX);
    }

    std::string path_;
    TextLines lines_;
    std::vector<std::string> captions_;
    std::vector<uint32_t> masks_;
    bool numbered_ = false;
    uint64_t timeUnit_ = kFemtosecondsPerSecond;
    std::optional<uint64_t> recordedRate_;
    std::optional<RationalScale> samplesOfTime_;
};

} // namespace

std::unique_ptr<ForeignReader> MakeCsvReader(const std::string& path) {
    return std::make_unique<CsvReader>(path);
}

} // namespace norrik::interchange
