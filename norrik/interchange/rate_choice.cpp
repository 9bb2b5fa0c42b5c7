#include "interchange/rate_choice.h"

#include "app/acquisition_settings.h"

#include <algorithm>
#include <charconv>

namespace norrik::interchange {

uint64_t CaptureRateAtOrAbove(Fraction hz) {
    uint64_t chosen = 0;
    for (const RateChoice& rate : kRates) {
        const uint64_t candidate = *RateHzOfCode(rate.code);
        // candidate >= num / den, without rounding.
        const bool fits = static_cast<unsigned __int128>(candidate) * hz.den >= hz.num;
        if (fits && (chosen == 0 || candidate < chosen))
            chosen = candidate;
    }
    return chosen != 0 ? chosen : *RateHzOfCode(kRates.front().code);
}

uint8_t CodeOfCaptureRate(uint64_t hz) {
    const auto rate = std::find_if(kRates.begin(), kRates.end(), [hz](const RateChoice& choice) {
        return RateHzOfCode(choice.code) == hz;
    });
    return rate == kRates.end() ? 0 : rate->code;
}

std::optional<uint8_t> RateCodeOfMsps(std::string_view text) {
    unsigned msps = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), msps);
    if (failure != std::errc() || end != text.data() + text.size() || msps > 25)
        return std::nullopt;
    const uint8_t code = CodeOfCaptureRate(uint64_t{msps} * 1'000'000);
    return code == 0 ? std::nullopt : std::optional<uint8_t>(code);
}

std::string MspsText(uint64_t hz) {
    return std::to_string(hz / 1'000'000) + " MS/s";
}

} // namespace norrik::interchange
