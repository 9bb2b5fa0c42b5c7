// The command line of norrik-cli: which decoder, its settings in the windows' terms, the screen
// start and the capture file.
#pragma once

#include "decoders/item_records.h"
#include "decoders/serial_decoder.h"
#include "decoders/spi_decoder.h"
#include "decoders/two_wire_decoder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norrik::cli {

struct CliRequest {
    decoders::DecoderKind decoder = decoders::DecoderKind::Serial;
    int32_t start = 0;
    std::string file;
    std::optional<decoders::RecordFormat> records; // --output csv or jsonl; none for text
    decoders::SerialSettings serial;
    decoders::TwoWireSettings twoWire;
    decoders::SpiSettings spi;
};

// Parses the arguments after the program name. On a bad argument returns false with a one-line
// reason in `error`.
bool ParseCliArguments(const std::vector<std::string>& arguments, CliRequest& request,
                       std::string& error);

// The decode command's part of --help.
std::string CliUsage();

} // namespace norrik::cli
