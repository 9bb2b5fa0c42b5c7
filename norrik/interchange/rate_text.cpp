#include "interchange/rate_text.h"

#include <cctype>

namespace norrik::interchange {
namespace {

struct ParsedRate {
    uint64_t hz;
    bool hadUnit; // the text ended in "Hz"
};

// Reads a rate from the start of `text`; `used` receives how many characters it took.
std::optional<ParsedRate> ReadRate(std::string_view text, size_t& used) {
    size_t at = 0;
    unsigned __int128 whole = 0;
    unsigned __int128 fraction = 0;
    unsigned __int128 fractionScale = 1;
    size_t digits = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        whole = whole * 10 + static_cast<unsigned>(text[at++] - '0');
        if (++digits > 20)
            return std::nullopt;
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
            // Digits below a millihertz at gigahertz prefixes change nothing.
            if (fractionScale < 1'000'000'000'000ull) {
                fraction = fraction * 10 + static_cast<unsigned>(text[at] - '0');
                fractionScale *= 10;
            }
            ++at;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    while (at < text.size() && text[at] == ' ')
        ++at;
    uint64_t multiplier = 1;
    if (at < text.size()) {
        switch (text[at]) {
        case 'k':
        case 'K':
            multiplier = 1'000;
            break;
        case 'M':
            multiplier = 1'000'000;
            break;
        case 'G':
            multiplier = 1'000'000'000;
            break;
        default:
            break;
        }
    }
    if (multiplier != 1)
        ++at;
    bool hadUnit = false;
    if (at + 2 <= text.size() && std::tolower(static_cast<unsigned char>(text[at])) == 'h' &&
        std::tolower(static_cast<unsigned char>(text[at + 1])) == 'z') {
        at += 2;
        hadUnit = true;
    }
    const unsigned __int128 hz =
        whole * multiplier + (fraction * multiplier * 2 + fractionScale) / (fractionScale * 2);
    if (hz > UINT64_MAX)
        return std::nullopt;
    used = at;
    return ParsedRate{static_cast<uint64_t>(hz), hadUnit};
}

} // namespace

std::optional<uint64_t> ParseRateText(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    size_t used = 0;
    const auto rate = ReadRate(text, used);
    if (!rate || used != text.size())
        return std::nullopt;
    return rate->hz;
}

std::string RateText(uint64_t hz) {
    struct Prefix {
        uint64_t scale;
        const char* unit;
    };
    constexpr Prefix kPrefixes[] = {
        {1'000'000'000, " GHz"}, {1'000'000, " MHz"}, {1'000, " kHz"}, {1, " Hz"}};
    for (const Prefix& prefix : kPrefixes) {
        if (hz < prefix.scale && prefix.scale != 1)
            continue;
        std::string text = std::to_string(hz / prefix.scale);
        std::string fraction = std::to_string(hz % prefix.scale + prefix.scale).substr(1);
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
        if (!fraction.empty())
            text += "." + fraction;
        return text + prefix.unit;
    }
    return "0 Hz";
}

std::optional<uint64_t> FindRateInText(std::string_view text) {
    for (size_t at = 0; at < text.size(); ++at) {
        const bool afterNumber =
            at > 0 &&
            (std::isdigit(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '.');
        const bool numberStarts =
            std::isdigit(static_cast<unsigned char>(text[at])) && !afterNumber;
        if (!numberStarts)
            continue;
        size_t used = 0;
        const auto rate = ReadRate(text.substr(at), used);
        if (rate && rate->hadUnit)
            return rate->hz;
    }
    return std::nullopt;
}

} // namespace norrik::interchange
