#include "decoders/signal_names.h"

#include <array>
#include <utility>

namespace norrik::decoders {

namespace {

constexpr int kPins = 16;

// The serial window's lines beyond the pins, in list order, with their sample bits.
constexpr std::array<std::pair<std::string_view, uint32_t>, 4> kModuleLines = {{
    {"VDD", 1u << 20},
    {"RES", 1u << 19},
    {"SOUT", 1u << 17},
    {"SIN", 1u << 16},
}};

constexpr std::string_view kNoSignal = "None";

} // namespace

std::vector<std::string> PinSignalNames() {
    std::vector<std::string> names;
    for (int pin = 0; pin < kPins; ++pin)
        names.push_back(std::string("P").append(std::to_string(pin)));
    return names;
}

std::vector<std::string> SerialSignalNames() {
    std::vector<std::string> names = PinSignalNames();
    for (const auto& [name, mask] : kModuleLines)
        names.emplace_back(name);
    return names;
}

std::vector<std::string> SlaveSelectNames() {
    std::vector<std::string> names = PinSignalNames();
    names.emplace_back(kNoSignal);
    return names;
}

std::optional<uint32_t> SignalMask(std::string_view name) {
    if (name == kNoSignal)
        return 0u;
    for (const auto& [line, mask] : kModuleLines) {
        if (name == line)
            return mask;
    }
    const std::vector<std::string> pins = PinSignalNames();
    for (int pin = 0; pin < kPins; ++pin) {
        if (name == pins[pin])
            return 1u << pin;
    }
    return std::nullopt;
}

} // namespace norrik::decoders
