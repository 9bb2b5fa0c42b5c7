#include "cli_options.h"

#include "decoders/signal_names.h"
#include "option_words.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>

namespace norrik::cli {
namespace {

using decoders::ClockEdge;
using decoders::DecoderKind;
using decoders::DisplayMode;

bool IsOneOf(const std::string& value, const std::vector<std::string>& names) {
    return std::find(names.begin(), names.end(), value) != names.end();
}

// Each option of a decoder: how its value is checked and stored.
using OptionSetter = std::function<bool(const std::string& value, CliRequest& request)>;

OptionSetter Signal(std::vector<std::string> names,
                    std::function<std::string&(CliRequest&)> field) {
    return [names = std::move(names), field = std::move(field)](const std::string& value,
                                                                CliRequest& request) {
        if (!IsOneOf(value, names))
            return false;
        field(request) = value;
        return true;
    };
}

template <typename T>
OptionSetter Choice(std::map<std::string, T> choices, std::function<T&(CliRequest&)> field) {
    return [choices = std::move(choices), field = std::move(field)](const std::string& value,
                                                                    CliRequest& request) {
        const auto found = choices.find(value);
        if (found == choices.end())
            return false;
        field(request) = found->second;
        return true;
    };
}

OptionSetter AnyText(std::function<std::string&(CliRequest&)> field) {
    return [field = std::move(field)](const std::string& value, CliRequest& request) {
        field(request) = value;
        return true;
    };
}

const std::map<std::string, DisplayMode> kDisplay = {
    {"both", DisplayMode::Both}, {"hex", DisplayMode::Hex}, {"ascii", DisplayMode::Ascii}};
const std::map<std::string, bool> kMsbFirst = {{"lsb", false}, {"msb", true}};
const std::map<std::string, ClockEdge> kEdge = {{"rising", ClockEdge::Rising},
                                                {"falling", ClockEdge::Falling}};

std::map<std::string, OptionSetter> OptionsOf(DecoderKind decoder) {
    const auto pins = decoders::PinSignalNames();
    switch (decoder) {
    case DecoderKind::Serial:
        return {
            {"--signal", Signal(decoders::SerialSignalNames(),
                                [](CliRequest& r) -> std::string& { return r.serial.signal; })},
            {"--baud", AnyText([](CliRequest& r) -> std::string& { return r.serial.baudRate; })},
            {"--bit-order", Choice<bool>(kMsbFirst, [](CliRequest& r) -> bool& {
                 return r.serial.msbFirst;
             })},
            {"--polarity", Choice<bool>({{"normal", true}, {"inverted", false}},
                                        [](CliRequest& r) -> bool& { return r.serial.normal; })},
            {"--format",
             Choice<decoders::SerialFrame>(
                 {{"8,0", decoders::SerialFrame::EightDataBits},
                  {"7,1", decoders::SerialFrame::SevenDataBitsParity}},
                 [](CliRequest& r) -> decoders::SerialFrame& { return r.serial.frame; })},
            {"--display", Choice<DisplayMode>(kDisplay, [](CliRequest& r) -> DisplayMode& {
                 return r.serial.display;
             })},
        };
    case DecoderKind::TwoWire:
        return {
            {"--sda", Signal(pins,
                             [](CliRequest& r) -> std::string& { return r.twoWire.sda; })},
            {"--scl", Signal(pins,
                             [](CliRequest& r) -> std::string& { return r.twoWire.scl; })},
        };
    case DecoderKind::Spi:
        return {
            {"--ss", Signal(decoders::SlaveSelectNames(),
                            [](CliRequest& r) -> std::string& { return r.spi.slaveSelect; })},
            {"--sck",
             Signal(pins, [](CliRequest& r) -> std::string& { return r.spi.clock; })},
            {"--so",
             Signal(pins, [](CliRequest& r) -> std::string& { return r.spi.dataOut; })},
            {"--si",
             Signal(pins, [](CliRequest& r) -> std::string& { return r.spi.dataIn; })},
            {"--so-edge", Choice<ClockEdge>(kEdge, [](CliRequest& r) -> ClockEdge& {
                 return r.spi.dataOutEdge;
             })},
            {"--si-edge", Choice<ClockEdge>(kEdge, [](CliRequest& r) -> ClockEdge& {
                 return r.spi.dataInEdge;
             })},
            {"--bit-order",
             Choice<bool>(kMsbFirst, [](CliRequest& r) -> bool& { return r.spi.msbFirst; })},
            {"--display", Choice<DisplayMode>(kDisplay, [](CliRequest& r) -> DisplayMode& {
                 return r.spi.display;
             })},
            {"--bytes-per-row",
             AnyText([](CliRequest& r) -> std::string& { return r.spi.bytesPerRow; })},
        };
    }
    return {};
}

bool ParseStart(const std::string& text, int32_t& start) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, start);
    return failure == std::errc() && stop == end;
}

bool ParseOutput(const std::string& text, std::optional<decoders::RecordFormat>& records) {
    const std::map<std::string, std::optional<decoders::RecordFormat>> outputs = {
        {"text", std::nullopt},
        {"csv", decoders::RecordFormat::Csv},
        {"jsonl", decoders::RecordFormat::Jsonl}};
    const auto output = outputs.find(text);
    if (output == outputs.end())
        return false;
    records = output->second;
    return true;
}

} // namespace

std::string CliUsage() {
    return "Usage: norrik-cli decode DECODER [OPTIONS] FILE\n"
           "Decodes a capture file (.nrk, .sr, .vcd or .csv, told by its content) and prints\n"
           "exactly the text the decoder window shows after a run started with the screen at\n"
           "sample --start. What reading a file of another format changed goes to standard\n"
           "error as notes.\n"
           "\n"
           "  norrik-cli decode serial [--start N] [--signal P0..P15|VDD|RES|SOUT|SIN]\n"
           "      [--baud TEXT] [--bit-order lsb|msb] [--polarity normal|inverted]\n"
           "      [--format 8,0|7,1] [--display both|hex|ascii] FILE\n"
           "  norrik-cli decode i2c [--start N] [--sda P0..P15] [--scl P0..P15] FILE\n"
           "  norrik-cli decode spi [--start N] [--ss None|P0..P15] [--sck P0..P15]\n"
           "      [--so P0..P15] [--si P0..P15] [--so-edge rising|falling]\n"
           "      [--si-edge rising|falling] [--bit-order lsb|msb] [--display hex|ascii|both]\n"
           "      [--bytes-per-row TEXT] FILE\n"
           "\n"
           "Every decoder also takes --output text|csv|jsonl. text (the default) is the window's\n"
           "text; csv (with one header row) and jsonl (one object a line) give one record per\n"
           "decoded item: first_sample, last_sample, time_s, time_from_trigger_s, kind, and\n"
           "value and rw (i2c), so and si (spi) or value (serial), bytes in hexadecimal.\n"
           "Kinds: start, address, data, ack, nack, stop, bus-not-idle (i2c); pair (spi);\n"
           "byte, stop-bit-error (serial). Times are empty (csv) or null (jsonl) when the\n"
           "capture's rate is not one of the nine.\n"
           "\n"
           "Defaults are the decoder windows' defaults; --start defaults to 0.\n"
           "Options take their value as the next argument or after '='.\n"
           "Exit status: 0 decoded, 2 bad arguments, a file that cannot be read, or (csv and\n"
           "jsonl) settings that cannot be decoded with.\n";
}

bool ParseCliArguments(const std::vector<std::string>& arguments, CliRequest& request,
                       std::string& error) {
    if (arguments.size() < 2 || arguments[0] != "decode") {
        error = "expected 'decode serial|i2c|spi [OPTIONS] FILE' or 'convert [OPTIONS] IN OUT' "
                "(see --help)";
        return false;
    }
    const std::map<std::string, DecoderKind> decoders = {
        {"serial", DecoderKind::Serial}, {"i2c", DecoderKind::TwoWire}, {"spi", DecoderKind::Spi}};
    const auto decoder = decoders.find(arguments[1]);
    if (decoder == decoders.end()) {
        error = "unknown decoder '" + arguments[1] + "': choose serial, i2c or spi";
        return false;
    }
    request.decoder = decoder->second;
    const auto options = OptionsOf(request.decoder);

    for (size_t i = 2; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) {
            if (!request.file.empty()) {
                error = "more than one file given: '" + request.file + "' and '" + argument + "'";
                return false;
            }
            request.file = argument;
            continue;
        }
        std::string name;
        std::string value;
        if (!TakeOption(arguments, i, name, value, error))
            return false;
        if (name == "--output") {
            if (!ParseOutput(value, request.records)) {
                error = "--output takes text, csv or jsonl, not '" + value + "'";
                return false;
            }
            continue;
        }
        if (name == "--start") {
            if (!ParseStart(value, request.start)) {
                error = "--start takes a whole number of samples, not '" + value + "'";
                return false;
            }
            continue;
        }
        const auto option = options.find(name);
        if (option == options.end()) {
            error = "unknown option " + name + " for the " + arguments[1] + " decoder";
            return false;
        }
        if (!option->second(value, request)) {
            error = "invalid value '" + value + "' for " + name + " (see --help)";
            return false;
        }
    }
    if (request.file.empty()) {
        error = "no capture file given";
        return false;
    }
    return true;
}

} // namespace norrik::cli
