// The signal lists of the decoder windows and the sample bit behind each entry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norrik::decoders {

// "P0".."P15": the module pins, offered by every signal list.
std::vector<std::string> PinSignalNames();

// The serial window's list: the pins, then "VDD", "RES", "SOUT", "SIN".
std::vector<std::string> SerialSignalNames();

// The SPI slave-select list: the pins, then "None".
std::vector<std::string> SlaveSelectNames();

// The one-bit mask of a list entry ("None" gives 0); no value for a name no list offers.
std::optional<uint32_t> SignalMask(std::string_view name);

} // namespace norrik::decoders
