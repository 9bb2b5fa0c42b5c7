#include "acquisition_settings.h"

#include "number_text.h"

namespace norrik {

std::optional<uint8_t> RateCodeOfLabel(std::string_view label) {
    for (const RateChoice& rate : kRates) {
        if (label == rate.label)
            return rate.code;
    }
    return std::nullopt;
}

std::string CaptureRateText(uint8_t rateCode) {
    int megasamples = 24;
    for (const RateChoice& rate : kRates) {
        if (rate.code == rateCode)
            megasamples = (rate.code - 7) / 10;
    }
    return "at " + std::to_string(megasamples) + "Msps";
}

std::optional<uint64_t> RateHzOfCode(uint8_t code) {
    for (const RateChoice& rate : kRates) {
        if (rate.code == code)
            return uint64_t{rate.code - 7u} * 100'000;
    }
    return std::nullopt;
}

std::string SizeLabel(int millions) {
    return PlainText(int64_t{millions}) + " Million Samples";
}

int32_t BufferSamplesForEntry(int entry) {
    const int64_t samples = (int64_t{entry} + 1) * 1'000'000 + 65535;
    return static_cast<int32_t>(samples & ~int64_t{0xFFFF});
}

int SizeEntries(int32_t maxBufferSamples) {
    return maxBufferSamples / 1'000'000;
}

int SizeEntryOf(int32_t bufferSamples) {
    return bufferSamples / 1'000'000 - 1;
}

} // namespace norrik
