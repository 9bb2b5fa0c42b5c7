// The asynchronous serial decoder of the SerialDecode window: start bit, 7 or 8 data bits, an
// optional parity bit that is skipped, and a stop bit, timed from the typed baud rate.
#pragma once

#include "decoders/byte_text.h"
#include "decoders/decode_procedure.h"
#include "decoders/sample_reader.h"

#include <cstdint>
#include <functional>
#include <string>

namespace norrik::decoders {

// The "Data Bits,Parity Bits" frame: "8,0" or "7,1".
enum class SerialFrame { EightDataBits, SevenDataBitsParity };

// The window's controls, with the values it opens with.
struct SerialSettings {
    std::string signal = "SIN";
    std::string baudRate = "9600"; // its leading number is the baud rate
    bool msbFirst = false;         // "msbit first"; otherwise "lsbit first"
    bool normal = true;            // "Normal" polarity; otherwise "Inverted"
    SerialFrame frame = SerialFrame::EightDataBits;
    DisplayMode display = DisplayMode::Both;
};

// The sample rate of a rate code, in samples per second; 0 for a code outside the table.
double SampleRateOfCode(uint8_t rateCode);

// A sample as the serial decoder sees it: unchanged, or all 32 bits inverted.
inline uint32_t WithPolarity(uint32_t sample, bool normal) {
    return normal ? sample : ~sample;
}

inline int32_t PolarityLoggedData(const SampleReader& samples, int64_t index, bool normal) {
    return static_cast<int32_t>(WithPolarity(samples(index), normal));
}

// The window reads its options afresh for every character; give it `currentSettings` to let a
// change made during the run take effect (the signal is kept from the start of the run).
DecodeOutcome RunSerialDecode(const DecodeContext& context, const SerialSettings& settings,
                              const DecodeHooks& hooks,
                              const std::function<SerialSettings()>& currentSettings = {});

} // namespace norrik::decoders
