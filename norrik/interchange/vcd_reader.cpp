// Value change dumps: the scalar wires of any dump, on its own timescale. A dump that records
// its sample rate in a comment (as this program's and other analyzers' do) is read on samples of
// that rate, so that times rounded to the timescale come back to the samples they were.
#include "interchange/foreign_formats.h"
#include "interchange/rate_text.h"
#include "interchange/rational_scale.h"
#include "interchange/text_lines.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <unordered_map>

namespace norrik::interchange {
namespace {

// The kinds of variable whose 1-bit instances are wires with a level.
constexpr std::array<std::string_view, 15> kScalarKinds = {
    "wire", "reg", "tri",     "tri0",    "tri1",  "triand", "trior", "trireg",
    "wand", "wor", "supply0", "supply1", "uwire", "logic",  "bit"};

struct Timescale {
    uint64_t multiple = 1;  // 1, 10 or 100
    uint64_t perSecond = 1; // units of the timescale's magnitude per second
};

bool ParseTimescale(std::string_view text, Timescale& timescale) {
    std::string compact;
    for (char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c)))
            compact += c;
    }
    const size_t unitAt = compact.find_first_not_of("0123456789");
    if (unitAt == std::string::npos || unitAt == 0)
        return false;
    const std::string number = compact.substr(0, unitAt);
    const std::string unit = compact.substr(unitAt);
    if (number != "1" && number != "10" && number != "100")
        return false;
    constexpr std::array<std::pair<std::string_view, uint64_t>, 6> kUnits = {{
        {"s", 1},
        {"ms", 1'000},
        {"us", 1'000'000},
        {"ns", 1'000'000'000},
        {"ps", 1'000'000'000'000},
        {"fs", 1'000'000'000'000'000},
    }};
    for (const auto& [name, perSecond] : kUnits) {
        if (unit == name) {
            timescale.multiple = std::stoull(number);
            timescale.perSecond = perSecond;
            return true;
        }
    }
    return false;
}

struct Variable {
    std::string id;
    std::string name;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The whitespace-separated words of a dump, across its lines.
class Words {
public:
    explicit Words(TextLines& lines) : lines_(lines) {}

    bool Next(std::string_view& word) {
        for (;;) {
            while (!rest_.empty() && IsBlank(rest_.front()))
                rest_.remove_prefix(1);
            if (!rest_.empty()) {
                size_t end = 0;
                while (end < rest_.size() && !IsBlank(rest_[end]))
                    ++end;
                word = rest_.substr(0, end);
                rest_.remove_prefix(end);
                return true;
            }
            if (!lines_.Next(rest_))
                return false;
        }
    }

    uint64_t Line() const { return lines_.LineNumber(); }
    std::string At() const { return "line " + std::to_string(Line()) + ": "; }

private:
    TextLines& lines_;
    std::string_view rest_;
};

class VcdReader final : public ForeignReader {
public:
    explicit VcdReader(std::string path) : path_(std::move(path)) {}

    bool ReadLayout(FileLayout& layout, std::string& error) override {
        if (!lines_.Open(path_, error))
            return false;
        Words words(lines_);
        if (!ReadHeader(words, error))
            return false;
        for (size_t i = 0; i < variables_.size(); ++i)
            layout.channels.push_back({int(i) + 1, variables_[i].name});
        if (recordedRate_) {
            layout.recordedRate = recordedRate_;
            layout.ticksPerSecond = {*recordedRate_, 1};
        } else {
            layout.ticksPerSecond = {timescale_.perSecond, timescale_.multiple};
        }
        layout.notes = notes_;
        return true;
    }

    bool Replay(std::span<const uint32_t> lineMasks, SampleSink& sink, const ProgressHook& progress,
                uint64_t& endTick, std::string& error) override {
        if (!lines_.Rewind(error))
            return false;
        Words words(lines_);
        variables_.clear();
        notes_.clear();
        if (!ReadHeader(words, error))
            return false;
        BuildMasks(lineMasks);
        if (recordedRate_)
            samplesOfTime_.emplace(timescale_.multiple * *recordedRate_, timescale_.perSecond);
        return ReadChanges(words, sink, progress, endTick, error);
    }

private:
    // Reads the words of a command up to its "$end".
    bool CommandWords(Words& words, std::vector<std::string_view>& into, std::string& storage,
                      std::string_view command, std::string& error) {
        storage.clear();
        std::vector<size_t> starts;
        std::string_view word;
        while (words.Next(word)) {
            if (word == "$end") {
                into.clear();
                for (size_t i = 0; i < starts.size(); ++i) {
                    const size_t end = i + 1 < starts.size() ? starts[i + 1] - 1 : storage.size();
                    into.push_back(std::string_view(storage).substr(starts[i], end - starts[i]));
                }
                return true;
            }
            if (!storage.empty())
                storage += ' ';
            starts.push_back(storage.size());
            storage += word;
        }
        error = "the " + std::string(command) + " command has no $end";
        return false;
    }

    bool ReadHeader(Words& words, std::string& error) {
        bool haveTimescale = false;
        std::vector<std::string_view> parts;
        std::string storage;
        std::vector<std::string> ignored;
        std::string_view word;
        while (words.Next(word)) {
            if (word.empty() || word.front() != '$') {
                error = words.At() + "'" + std::string(word.substr(0, 40)) +
                        "' comes before $enddefinitions";
                return false;
            }
            const std::string command(word);
            if (!CommandWords(words, parts, storage, command, error))
                return false;
            if (command == "$enddefinitions") {
                if (!haveTimescale)
                    notes_.push_back("The file gives no $timescale: its times are read as ns.");
                if (!ignored.empty())
                    notes_.push_back(
                        "Variables other than 1-bit wires were ignored: " + JoinFew(ignored) + ".");
                return true;
            }
            if (command == "$timescale") {
                if (!ParseTimescale(storage, timescale_)) {
                    error = "the timescale '" + storage.substr(0, 40) + "' is not one VCD allows";
                    return false;
                }
                haveTimescale = true;
            } else if (command == "$comment") {
                const auto rate = RecordedRate(storage);
                if (rate)
                    recordedRate_ = rate;
            } else if (command == "$var") {
                if (parts.size() < 4) {
                    error = words.At() + "a $var needs a kind, a size, a code and a name";
                    return false;
                }
                std::string name(parts[3]);
                for (size_t i = 4; i < parts.size(); ++i)
                    name += parts[i];
                const bool scalar = parts[1] == "1" &&
                                    std::find(kScalarKinds.begin(), kScalarKinds.end(), parts[0]) !=
                                        kScalarKinds.end();
                if (scalar)
                    variables_.push_back({std::string(parts[2]), name});
                else
                    ignored.push_back(name + " (" + std::string(parts[0]) + " " +
                                      std::string(parts[1]) + ")");
            }
        }
        if (!lines_.Failed().empty())
            error = lines_.Failed();
        else
            error = "no $enddefinitions: the header never ends";
        return false;
    }

    static std::string JoinFew(const std::vector<std::string>& items) {
        std::string text;
        for (size_t i = 0; i < items.size() && i < 8; ++i)
            text += (i == 0 ? "" : ", ") + items[i];
        if (items.size() > 8)
            text += " and " + std::to_string(items.size() - 8) + " more";
        return text;
    }

    // Comments that give the rate the dump was sampled at, as analyzers write them.
    static std::optional<uint64_t> RecordedRate(const std::string& comment) {
        std::string lower(comment);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower.find("rate") == std::string::npos &&
            lower.find("acquisition") == std::string::npos)
            return std::nullopt;
        const auto rate = FindRateInText(comment);
        return rate && *rate > 0 && *rate <= kFastestFileRate ? rate : std::nullopt;
    }

    void BuildMasks(std::span<const uint32_t> lineMasks) {
        shortIds_.fill(0);
        longIds_.clear();
        for (size_t i = 0; i < variables_.size(); ++i) {
            const std::string& id = variables_[i].id;
            if (id.size() == 1)
                shortIds_[static_cast<unsigned char>(id[0])] |= lineMasks[i];
            else
                longIds_[id] |= lineMasks[i];
        }
    }

    uint32_t MaskOf(std::string_view id) const {
        if (id.size() == 1)
            return shortIds_[static_cast<unsigned char>(id[0])];
        const auto found = longIds_.find(std::string(id));
        return found == longIds_.end() ? 0 : found->second;
    }

    // Rounded to the nearest sample of the recorded rate.
    uint64_t TickOf(uint64_t sinceStart) const {
        if (!recordedRate_)
            return sinceStart;
        return std::min<uint64_t>(samplesOfTime_->Nearest(sinceStart), INT64_MAX);
    }

    bool ReadChanges(Words& words, SampleSink& sink, const ProgressHook& progress,
                     uint64_t& endTick, std::string& error) {
        bool timed = false;
        uint64_t firstTime = 0;
        uint64_t time = 0;
        uint32_t word = 0;
        bool emitted = false;
        uint32_t emittedWord = 0;
        uint64_t lastEmitTick = 0;
        const auto flush = [&] {
            if (emitted && word == emittedWord)
                return;
            lastEmitTick = TickOf(time - firstTime);
            sink.Change(lastEmitTick, word);
            emitted = true;
            emittedWord = word;
        };
        uint64_t reportedLine = 0;
        std::string_view token;
        while (words.Next(token)) {
            if (progress && words.Line() - reportedLine >= 65536) {
                reportedLine = words.Line();
                progress(double(lines_.BytesRead()) /
                         double(std::max<uint64_t>(lines_.FileSize(), 1)));
            }
            const char first = token.front();
            if (first == '#') {
                uint64_t at = 0;
                const char* end = token.data() + token.size();
                const auto [stop, failure] = std::from_chars(token.data() + 1, end, at);
                if (failure == std::errc::result_out_of_range) {
                    error = words.At() + "the time '" + std::string(token.substr(0, 30)) +
                            "' is too large";
                    return false;
                }
                if (failure != std::errc() || stop != end) {
                    error = words.At() + "'" + std::string(token.substr(0, 30)) + "' is no time";
                    return false;
                }
                if (!timed) {
                    timed = true;
                    firstTime = time = at;
                    continue;
                }
                if (at < time) {
                    error = words.At() + "the time #" + std::to_string(at) + " goes back from #" +
                            std::to_string(time);
                    return false;
                }
                if (at != time) {
                    flush();
                    time = at;
                }
                continue;
            }
            switch (first) {
            case '0':
            case '1':
            case 'x':
            case 'X':
            case 'z':
            case 'Z':
            case 'h':
            case 'H':
            case 'l':
            case 'L':
            case 'u':
            case 'U':
            case 'w':
            case 'W':
            case '-': {
                std::string_view id = token.substr(1);
                if (id.empty() && !words.Next(id)) {
                    error = words.At() + "a value without an identifier";
                    return false;
                }
                const uint32_t mask = MaskOf(id);
                const bool high = first == '1' || first == 'h' || first == 'H';
                word = high ? word | mask : word & ~mask;
                break;
            }
            case 'b':
            case 'B':
            case 'r':
            case 'R': {
                // Vectors and reals belong to variables that are not read.
                std::string_view id;
                if (!words.Next(id)) {
                    error = words.At() + "a value without an identifier";
                    return false;
                }
                break;
            }
            case '$':
                if (token == "$comment" && !SkipToEnd(words, error))
                    return false;
                break;
            default:
                error =
                    words.At() + "'" + std::string(token.substr(0, 30)) + "' is no value change";
                return false;
            }
        }
        if (!lines_.Failed().empty()) {
            error = lines_.Failed();
            return false;
        }
        const uint64_t lastTick = TickOf(time - firstTime);
        if (timed || emitted || word != 0)
            flush();
        endTick = std::max(lastTick, emitted ? lastEmitTick + 1 : 0);
        return true;
    }

    static bool SkipToEnd(Words& words, std::string& error) {
        std::string_view word;
        while (words.Next(word)) {
            if (word == "$end")
                return true;
        }
        error = "a $comment has no $end";
        return false;
    }

    std::string path_;
    TextLines lines_;
    std::vector<Variable> variables_;
    std::vector<std::string> notes_;
    Timescale timescale_{1, 1'000'000'000};
    std::optional<uint64_t> recordedRate_;
    std::optional<RationalScale> samplesOfTime_;
    std::array<uint32_t, 256> shortIds_{};
    std::unordered_map<std::string, uint32_t> longIds_;
};

} // namespace

std::unique_ptr<ForeignReader> MakeVcdReader(const std::string& path) {
    return std::make_unique<VcdReader>(path);
}

} // namespace norrik::interchange
