// The records of norrik-cli decode --output csv|jsonl: on every real capture of the test data
// the items they carry rebuild the very text that --output text prints, and both formats hold
// the same items.
#include "cli_run.h"
#include "decoders/decode_procedure.h"
#include "decoders/item_text.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cli_test::RunCli;
using namespace norrik::decoders;

// One record's fields by name, as the text between the quotes or the bare number or null.
using Record = std::map<std::string, std::string>;

std::vector<Record> JsonRecords(const std::string& lines) {
    std::vector<Record> records;
    std::istringstream in(lines);
    std::string line;
    while (std::getline(in, line)) {
        EXPECT_EQ(line.front(), '{');
        EXPECT_EQ(line.back(), '}');
        Record record;
        std::istringstream fields(line.substr(1, line.size() - 2));
        std::string field;
        while (std::getline(fields, field, ',')) {
            const size_t colon = field.find(':');
            std::string value = field.substr(colon + 1);
            if (value.size() >= 2 && value.front() == '"')
                value = value.substr(1, value.size() - 2);
            record[field.substr(1, colon - 2)] = value;
        }
        records.push_back(record);
    }
    return records;
}

std::vector<Record> CsvRecords(const std::string& lines) {
    std::istringstream in(lines);
    std::string header;
    std::getline(in, header);
    std::vector<std::string> names;
    std::istringstream columns(header);
    for (std::string name; std::getline(columns, name, ',');)
        names.push_back(name);
    std::vector<Record> records;
    for (std::string line; std::getline(in, line);) {
        Record record;
        std::istringstream cells(line + ",");
        for (const std::string& name : names) {
            std::string cell;
            std::getline(cells, cell, ',');
            record[name] = cell.empty() ? "null" : cell;
        }
        records.push_back(record);
    }
    return records;
}

const std::map<std::string, ItemKind> kKinds = {
    {"start", ItemKind::Start}, {"address", ItemKind::Address},
    {"data", ItemKind::Data},   {"ack", ItemKind::Ack},
    {"nack", ItemKind::Nack},   {"stop", ItemKind::Stop},
    {"bus-not-idle", ItemKind::BusNotIdle}, {"pair", ItemKind::Pair},
    {"byte", ItemKind::Byte},   {"stop-bit-error", ItemKind::StopBitError}};

DecodedItem ItemOf(const Record& record) {
    const auto hex = [&](const char* name) {
        const auto field = record.find(name);
        return field == record.end() || field->second == "null"
                   ? uint8_t{0}
                   : static_cast<uint8_t>(std::stoul(field->second, nullptr, 16));
    };
    DecodedItem item;
    item.firstSample = std::stoll(record.at("first_sample"));
    item.lastSample = std::stoll(record.at("last_sample"));
    item.kind = kKinds.at(record.at("kind"));
    item.value = record.count("so") != 0 ? hex("so") : hex("value");
    item.dataIn = hex("si");
    if (item.kind == ItemKind::Address) {
        EXPECT_EQ(record.at("rw"), (item.value & 1) != 0 ? "read" : "write");
    }
    return item;
}

struct Decode {
    DecoderKind kind;
    std::string arguments;
    DisplayMode display = DisplayMode::Hex; // serial and SPI
    double bytesPerRow = 8;                 // SPI
};

std::string RebuiltText(const Decode& decode, const std::vector<Record>& records) {
    std::string scratch;
    std::string shown;
    const auto show = [&](const std::string& text) { shown += text; };
    TwoWireText twoWire(scratch, show);
    SerialText serial(scratch, decode.display);
    SpiText spi(scratch, decode.display, decode.bytesPerRow);
    ItemSink& text = decode.kind == DecoderKind::TwoWire ? static_cast<ItemSink&>(twoWire)
                     : decode.kind == DecoderKind::Serial ? static_cast<ItemSink&>(serial)
                                                          : static_cast<ItemSink&>(spi);
    int64_t previousFirst = -1;
    for (const Record& record : records) {
        const DecodedItem item = ItemOf(record);
        EXPECT_LE(item.firstSample, item.lastSample);
        EXPECT_LE(previousFirst, item.firstSample) << "items in the order of the samples";
        previousFirst = item.firstSample;
        text.Add(item);
    }
    text.End();
    return HeaderText(decode.kind) + shown + scratch;
}

TEST(DecodedRecords, RebuildTheTextOfEveryRealCapture) {
    const std::string captures = std::string(CAPTURES) + "/";
    const std::string others = std::string(OTHER_TOOLS) + "/";
    const Decode decodes[] = {
        {DecoderKind::Serial, "serial --signal P0 " + captures + "uart_hello_9600.nrk",
         DisplayMode::Both},
        {DecoderKind::Serial,
         "serial --signal P0 --display ascii " + captures + "uart_hello_9600.nrk",
         DisplayMode::Ascii},
        {DecoderKind::Serial, "serial --signal P0 --baud 19200 --display hex " + captures +
                                  "uart_hello_9600.nrk", // wrong rate: ends at a stop bit
         DisplayMode::Hex},
        {DecoderKind::TwoWire, "i2c --sda P1 --scl P0 " + captures + "i2c_ad5258_restart.nrk"},
        {DecoderKind::Spi,
         "spi --start 474 --ss P5 --sck P4 --so P3 --si P2 --so-edge falling --si-edge "
         "falling " + captures + "spi_allmodes_lsb.nrk"},
        {DecoderKind::Spi,
         "spi --start 474 --ss P5 --sck P4 --so P3 --si P2 --display both --bytes-per-row 2 " +
             captures + "spi_allmodes_lsb.nrk",
         DisplayMode::Both, 2},
        {DecoderKind::Spi, "spi --sck P4 --so P3 --si P2 --bytes-per-row 3 " + captures +
                               "spi_allmodes_lsb.nrk",
         DisplayMode::Hex, 3},
        {DecoderKind::TwoWire, "i2c --sda P1 --scl P0 --start 1000 " + others +
                                   "rtc_ds1307_200khz.sr"},
        {DecoderKind::TwoWire, "i2c --sda P1 --scl P0 " + others + "rtc_ds1307_200khz.sr"},
        {DecoderKind::Serial,
         "serial --signal P0 --baud 115200 " + others + "hello_world_8n1_115200.sr",
         DisplayMode::Both},
    };
    for (const Decode& decode : decodes) {
        SCOPED_TRACE(decode.arguments);
        const auto text = RunCli("decode " + decode.arguments);
        const auto jsonl = RunCli("decode " + decode.arguments + " --output jsonl");
        const auto csv = RunCli("decode " + decode.arguments + " --output=csv");
        ASSERT_EQ(text.status, 0) << text.err;
        ASSERT_EQ(jsonl.status, 0) << jsonl.err;
        ASSERT_EQ(csv.status, 0) << csv.err;
        EXPECT_EQ(jsonl.err, text.err) << "the same notes on standard error";
        const std::vector<Record> records = JsonRecords(jsonl.out);
        EXPECT_FALSE(records.empty());
        EXPECT_EQ(CsvRecords(csv.out), records);
        EXPECT_EQ(RebuiltText(decode, records), text.out);
    }
}

TEST(DecodedRecords, SettingsThatCannotDecodeAreAProblemNotRecords) {
    const std::string capture = std::string(CAPTURES) + "/uart_hello_9600.nrk";
    for (const char* output : {"csv", "jsonl"}) {
        const auto run =
            RunCli("decode serial --signal P0 --baud 0 --output " + std::string(output) + " " +
                   capture);
        EXPECT_EQ(run.status, 2) << output;
        EXPECT_EQ(run.out, "") << output;
        EXPECT_EQ(run.err, "norrik-cli: Baud Rate must be a number greater than 0.\n") << output;
    }
    // The text keeps the window's message and succeeds, as it always has.
    const auto text = RunCli("decode serial --signal P0 --baud 0 " + capture);
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("Baud Rate must be a number greater than 0.\r\n"), std::string::npos);
}

} // namespace
