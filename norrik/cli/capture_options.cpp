#include "capture_options.h"

#include "app/acquisition_settings.h"
#include "app/trigger_steps.h"
#include "interchange/capture_io.h"
#include "interchange/line_names.h"
#include "interchange/rate_choice.h"
#include "option_words.h"
#include "pod_choice.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <sstream>

namespace norrik::cli {
namespace {

template <typename T>
bool ParseWhole(const std::string& text, T& number) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, number);
    return !text.empty() && failure == std::errc() && stop == end;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

const std::map<std::string, TriggerLevel> kLevels = {
    {"high", kHigh}, {"low", kLow}, {"rise", kRise}, {"fall", kFall}};

struct ClockChoice {
    bool external;
    uint8_t edge;
    uint8_t qualifier;
};

// The window's clock options: its own clock, or the pod's clock input on either edge, qualified
// by the trigger-valid input's level or not.
const std::map<std::string, ClockChoice> kClocks = {
    {"internal", {false, 0, 0}},
    {"external-rising", {true, 0, 0}},
    {"external-falling", {true, 1, 0}},
    {"external-rising-high", {true, 0, 1}},
    {"external-falling-high", {true, 1, 1}},
    {"external-rising-low", {true, 0, 2}},
    {"external-falling-low", {true, 1, 2}},
};

// The largest buffer the size list can offer stays within the library's 32-bit lengths.
constexpr int64_t kLargestSamples = 2'000'000'000;

bool ParseSamples(const std::string& value, int32_t& bufferSamples) {
    int64_t samples = 0;
    if (!ParseWhole(value, samples) || samples < 1 || samples > kLargestSamples)
        return false;
    const int entry = static_cast<int>((samples + 999'999) / 1'000'000) - 1;
    bufferSamples = BufferSamplesForEntry(entry);
    return true;
}

bool ParseSeconds(const std::string& value, double& seconds) {
    const char* end = value.data() + value.size();
    const auto [stop, failure] = std::from_chars(value.data(), end, seconds);
    return !value.empty() && failure == std::errc() && stop == end && std::isfinite(seconds) &&
           seconds > 0;
}

} // namespace

bool ParseTriggerSteps(const std::string& text, std::array<uint8_t, 257>& levels,
                       std::string& error) {
    const std::vector<std::string> steps = Split(text, ';');
    if (steps.empty() || steps.size() > 2) {
        error = "--trigger takes one or two steps separated by ';', not '" + text + "'";
        return false;
    }
    levels.fill(kDontCare);
    for (size_t step = 0; step < steps.size(); ++step) {
        for (const std::string& condition : Split(steps[step], ',')) {
            const size_t equals = condition.find('=');
            const auto line = interchange::LineOfName(condition.substr(0, equals));
            const auto level = equals == std::string::npos
                                   ? kLevels.end()
                                   : kLevels.find(Lower(condition.substr(equals + 1)));
            if (!line || level == kLevels.end()) {
                error = "trigger condition '" + condition +
                        "' is not LINE=high|low|rise|fall with LINE one of P0..P15, Sin, Sout, "
                        "RES, VDD";
                return false;
            }
            const int bit = std::countr_zero(line->mask);
            levels[static_cast<size_t>(TriggerLevelIndex(static_cast<int>(step), bit))] =
                level->second;
        }
    }
    return true;
}

bool ParseCaptureArguments(const std::vector<std::string>& arguments, CaptureRequest& request,
                           std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--keep") {
            request.keep = true;
            continue;
        }
        if (argument.rfind("-", 0) != 0) {
            error = "unexpected argument '" + argument + "' for capture (the file goes after -o)";
            return false;
        }
        std::string name;
        std::string value;
        if (!TakeOption(arguments, i, name, value, error))
            return false;
        if (name == "--pod") {
            if (!ParsePodOption(value, request.podId, error))
                return false;
        } else if (name == "--rate") {
            const auto code = interchange::RateCodeOfMsps(value);
            if (!code) {
                error = "--rate takes 1, 2, 3, 4, 6, 8, 12, 16 or 24, not '" + value + "'";
                return false;
            }
            request.rateCode = *code;
        } else if (name == "--samples") {
            if (!ParseSamples(value, request.bufferSamples)) {
                error = "--samples takes a whole number from 1 to 2000000000, not '" + value + "'";
                return false;
            }
        } else if (name == "--trigger") {
            if (!ParseTriggerSteps(value, request.triggerLevels, error))
                return false;
        } else if (name == "--position") {
            if (!ParseWhole(value, request.triggerPosition) || request.triggerPosition < 10 ||
                request.triggerPosition > 90) {
                error = "--position takes a whole percentage from 10 to 90, not '" + value + "'";
                return false;
            }
        } else if (name == "--clock") {
            const auto clock = kClocks.find(value);
            if (clock == kClocks.end()) {
                error = "--clock takes internal or external-rising|falling[-high|-low], not '" +
                        value + "'";
                return false;
            }
            request.externalClock = clock->second.external;
            request.clockEdge = clock->second.edge;
            request.trigQualifier = clock->second.qualifier;
        } else if (name == "--timeout") {
            double seconds = 0;
            if (!ParseSeconds(value, seconds)) {
                error = "--timeout takes a number of seconds above 0, not '" + value + "'";
                return false;
            }
            request.timeoutSeconds = seconds;
        } else if (name == "-o" || name == "--output") {
            request.output = value;
        } else {
            error = "unknown option " + name + " for capture";
            return false;
        }
    }
    if (request.output.empty()) {
        error = "capture needs -o FILE";
        return false;
    }
    const auto format = interchange::OutputFormat(request.output, std::nullopt);
    if (!format) {
        error = "cannot tell the format of '" + request.output +
                "' from its extension: use .nrk, .sr, .vcd or .csv";
        return false;
    }
    request.format = *format;
    return true;
}

std::string CaptureUsage() {
    return "Usage: norrik-cli capture [--pod ID] [--rate MSPS] [--samples N]\n"
           "    [--trigger 'STEP1[;STEP2]'] [--position PERCENT] [--clock CLOCK]\n"
           "    [--timeout SECONDS] [--keep] -o FILE\n"
           "Captures from a pod as the window's Acquire does and stores the capture with its\n"
           "settings in FILE (.nrk, .sr, .vcd or .csv, told by the extension).\n"
           "  --pod ID          the pod's identifier (see scan); default the first pod\n"
           "  --rate MSPS       1, 2, 3, 4, 6, 8, 12, 16 or 24 million samples per second\n"
           "                    (default 2)\n"
           "  --samples N       buffer size, rounded up to whole millions as the size list\n"
           "                    offers them (default 1 million)\n"
           "  --trigger STEPS   one or two steps separated by ';', each a comma-separated list\n"
           "                    of LINE=LEVEL: LINE P0..P15, Sin, Sout, RES or VDD in any case,\n"
           "                    LEVEL high, low, rise or fall. As in the window, rise and fall\n"
           "                    are stored with the capture but take no part in the match:\n"
           "                    'P0=low;P0=high' waits for a rising edge on P0.\n"
           "                    Default: trigger at once.\n"
           "  --position PCT    share of the buffer before the trigger, 10 to 90 (default 10)\n"
           "  --clock CLOCK     internal (default), external-rising, external-falling, or\n"
           "                    either with -high or -low for the trigger-valid qualifier\n"
           "  --timeout SECONDS give up when no trigger came within this time\n"
           "  --keep            store the capture even after a break, a time-out or Ctrl-C\n"
           "States and progress go to standard error when it is a terminal.\n"
           "Exit status: 0 stored, 1 a pod problem, 2 bad arguments or a file that cannot be\n"
           "written, 3 a break in the sampled data, 4 no trigger within the time-out,\n"
           "130 stopped by Ctrl-C.\n";
}

} // namespace norrik::cli
