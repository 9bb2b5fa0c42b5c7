#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace norrik::cli {
namespace {

using decoders::ClockEdge;
using decoders::DecoderKind;
using decoders::DisplayMode;

CliRequest Parse(std::vector<std::string> arguments) {
    CliRequest request;
    std::string error;
    EXPECT_TRUE(ParseCliArguments(arguments, request, error)) << error;
    return request;
}

TEST(CliOptions, DefaultsAreTheWindowsDefaults) {
    const CliRequest serial = Parse({"decode", "serial", "f.nrk"});
    EXPECT_EQ(serial.decoder, DecoderKind::Serial);
    EXPECT_EQ(serial.start, 0);
    EXPECT_EQ(serial.file, "f.nrk");
    EXPECT_EQ(serial.serial.signal, "SIN");
    EXPECT_EQ(serial.serial.baudRate, "9600");
    EXPECT_FALSE(serial.serial.msbFirst);
    EXPECT_TRUE(serial.serial.normal);
    EXPECT_EQ(serial.serial.display, DisplayMode::Both);

    const CliRequest spi = Parse({"decode", "spi", "f.nrk"});
    EXPECT_EQ(spi.spi.slaveSelect, "None");
    EXPECT_EQ(spi.spi.clock, "P1");
    EXPECT_EQ(spi.spi.display, DisplayMode::Hex);
    EXPECT_EQ(spi.spi.bytesPerRow, "8");

    const CliRequest i2c = Parse({"decode", "i2c", "f.nrk"});
    EXPECT_EQ(i2c.twoWire.sda, "P0");
    EXPECT_EQ(i2c.twoWire.scl, "P1");
}

TEST(CliOptions, EveryOptionReachesItsSetting) {
    const CliRequest serial =
        Parse({"decode", "serial", "--start", "-5", "--signal=P3", "--baud", "115200x",
               "--bit-order", "msb", "--polarity=inverted", "--format", "7,1", "--display",
               "hex", "f.nrk"});
    EXPECT_EQ(serial.start, -5);
    EXPECT_EQ(serial.serial.signal, "P3");
    EXPECT_EQ(serial.serial.baudRate, "115200x") << "the window takes any text";
    EXPECT_TRUE(serial.serial.msbFirst);
    EXPECT_FALSE(serial.serial.normal);
    EXPECT_EQ(serial.serial.frame, decoders::SerialFrame::SevenDataBitsParity);
    EXPECT_EQ(serial.serial.display, DisplayMode::Hex);

    const CliRequest spi =
        Parse({"decode", "spi", "f.nrk", "--ss", "P5", "--sck", "P4", "--so", "P3", "--si", "P2",
               "--so-edge", "falling", "--si-edge=falling", "--bit-order", "msb", "--display",
               "both", "--bytes-per-row", "3000"});
    EXPECT_EQ(spi.spi.slaveSelect, "P5");
    EXPECT_EQ(spi.spi.clock, "P4");
    EXPECT_EQ(spi.spi.dataOut, "P3");
    EXPECT_EQ(spi.spi.dataIn, "P2");
    EXPECT_EQ(spi.spi.dataOutEdge, ClockEdge::Falling);
    EXPECT_EQ(spi.spi.dataInEdge, ClockEdge::Falling);
    EXPECT_TRUE(spi.spi.msbFirst);
    EXPECT_EQ(spi.spi.display, DisplayMode::Both);
    EXPECT_EQ(spi.spi.bytesPerRow, "3000");
}

TEST(CliOptions, OutputChoosesTextOrRecords) {
    using decoders::RecordFormat;
    struct Case {
        std::vector<std::string> arguments;
        std::optional<RecordFormat> records;
    };
    const Case cases[] = {
        {{"decode", "i2c", "f.nrk"}, std::nullopt},
        {{"decode", "i2c", "--output", "text", "f.nrk"}, std::nullopt},
        {{"decode", "serial", "--output=csv", "f.nrk"}, RecordFormat::Csv},
        {{"decode", "spi", "f.nrk", "--output", "jsonl"}, RecordFormat::Jsonl},
        {{"decode", "spi", "--output", "csv", "--output", "text", "f.nrk"}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.arguments).records, c.records) << c.arguments.size();
}

TEST(CliOptions, BadArgumentsAreRefusedWithAReason) {
    struct Case {
        std::vector<std::string> arguments;
        const char* reason;
    };
    const Case cases[] = {
        {{}, "expected 'decode"},
        {{"decode"}, "expected 'decode"},
        {{"show", "serial", "f"}, "expected 'decode"},
        {{"decode", "can", "f"}, "unknown decoder 'can'"},
        {{"decode", "serial"}, "no capture file"},
        {{"decode", "serial", "a", "b"}, "more than one file"},
        {{"decode", "serial", "--signal", "P16", "f"}, "invalid value 'P16' for --signal"},
        {{"decode", "i2c", "--sda", "SIN", "f"}, "invalid value 'SIN' for --sda"},
        {{"decode", "spi", "--ss", "VDD", "f"}, "invalid value 'VDD' for --ss"},
        {{"decode", "serial", "--ss", "P1", "f"}, "unknown option --ss"},
        {{"decode", "serial", "--format", "8,1", "f"}, "invalid value '8,1'"},
        {{"decode", "serial", "--start", "1e3", "f"}, "--start takes a whole number"},
        {{"decode", "serial", "--start", "99999999999", "f"}, "--start takes a whole number"},
        {{"decode", "serial", "f", "--baud"}, "--baud needs a value"},
        {{"decode", "i2c", "--output", "xml", "f"}, "--output takes text, csv or jsonl"},
        {{"decode", "i2c", "--output=CSV", "f"}, "not 'CSV'"},
        {{"decode", "i2c", "--output=", "f"}, "--output takes text, csv or jsonl, not ''"},
        {{"decode", "spi", "f", "--output"}, "--output needs a value"},
    };
    for (const Case& c : cases) {
        CliRequest request;
        std::string error;
        EXPECT_FALSE(ParseCliArguments(c.arguments, request, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

} // namespace
} // namespace norrik::cli
