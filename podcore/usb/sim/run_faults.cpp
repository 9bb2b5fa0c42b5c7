#include "usb/sim/run_faults.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace podcore::usb::sim {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The seconds after `name=`, or nullopt when the item is not that word with a usable value. The
// text is read the same in every locale: a program may have set a comma-decimal one.
std::optional<double> SecondsOf(std::string_view item, std::string_view name) {
    if (item.size() <= name.size() + 1 || !item.starts_with(name) || item[name.size()] != '=')
        return std::nullopt;
    const std::string_view text = item.substr(name.size() + 1);
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) ||
        seconds < 0)
        return std::nullopt;
    return seconds;
}

// True when the item was one of the words.
bool Apply(std::string_view item, RunFaults& faults) {
    if (item == "silent")
        faults.device.silentStreams = true;
    else if (item == "no-firmware")
        faults.device.failFirmwareLoad = true;
    else if (item == "full-speed")
        faults.fullSpeed = true;
    else if (const auto seconds = SecondsOf(item, "break-after"))
        faults.device.breakAfterSeconds = seconds;
    else if (const auto seconds = SecondsOf(item, "unplug-after"))
        faults.device.unplugAfterSeconds = seconds;
    else
        return false;
    return true;
}

} // namespace

RunFaults ParseRunFaults(std::string_view list, std::FILE* errors) {
    RunFaults faults;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view item = Trimmed(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        if (item.empty() || Apply(item, faults))
            continue;
        std::fprintf(errors,
                     "PODCORE_SIM_FAULTS: ignoring \"%s\" (known: silent, break-after=SECONDS, "
                     "unplug-after=SECONDS, no-firmware, full-speed)\n",
                     std::string(item).c_str());
    }
    return faults;
}

} // namespace podcore::usb::sim
