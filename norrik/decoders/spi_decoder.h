// The SPI decoder of the SPI window: an optional active-low slave select frames the transfer,
// every 16 clock transitions make one byte on each data line, each line sampled on its own edge.
#pragma once

#include "decoders/byte_text.h"
#include "decoders/decode_procedure.h"

#include <string>

namespace norrik::decoders {

enum class ClockEdge { Rising, Falling };

// The window's controls, with the values it opens with.
struct SpiSettings {
    std::string slaveSelect = "None"; // "None": always selected
    std::string clock = "P1";
    std::string dataOut = "P0"; // SO
    std::string dataIn = "P0";  // SI
    ClockEdge dataOutEdge = ClockEdge::Rising;
    ClockEdge dataInEdge = ClockEdge::Rising;
    bool msbFirst = false; // "msb first"; otherwise "lsb first"
    DisplayMode display = DisplayMode::Hex;
    std::string bytesPerRow = "8"; // its leading number is the "Hex" row length
};

DecodeOutcome RunSpiDecode(const DecodeContext& context, const SpiSettings& settings,
                           const DecodeHooks& hooks);

} // namespace norrik::decoders
