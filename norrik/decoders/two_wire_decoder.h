// The 2-wire (I2C) decoder of the I2CDecode window: start and stop conditions, bytes taken from
// SDA at the falling clock edges, the address byte with its direction, and acknowledge bits.
#pragma once

#include "decoders/decode_procedure.h"

#include <string>

namespace norrik::decoders {

// The window's controls, with the values it opens with.
struct TwoWireSettings {
    std::string sda = "P0";
    std::string scl = "P1";
};

DecodeOutcome RunTwoWireDecode(const DecodeContext& context, const TwoWireSettings& settings,
                               const DecodeHooks& hooks);

} // namespace norrik::decoders
