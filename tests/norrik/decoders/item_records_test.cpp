// Records of decoded items: the columns of each decoder, times in whole nanoseconds from sample
// 0 and from the trigger, and empty times when the rate is not known.
#include "decoders/item_records.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace norrik::decoders;

TEST(ItemRecords, ColumnsAndTimesOfEachDecoder) {
    struct Case {
        RecordFormat format;
        DecoderKind decoder;
        uint32_t samplesPerMicrosecond;
        DecodedItem item;
        const char* expected;
    };
    const Case cases[] = {
        {RecordFormat::Csv, DecoderKind::TwoWire, 24, {24, 30, ItemKind::Address, 0xA0},
         "first_sample,last_sample,time_s,time_from_trigger_s,kind,value,rw\n"
         "24,30,0.000001000,-0.000003167,address,A0,write\n"},
        {RecordFormat::Csv, DecoderKind::TwoWire, 4, {8, 8, ItemKind::Start},
         "first_sample,last_sample,time_s,time_from_trigger_s,kind,value,rw\n"
         "8,8,0.000002000,-0.000023000,start,,\n"},
        {RecordFormat::Jsonl, DecoderKind::TwoWire, 1, {3'000'000'123, 3'000'000'200,
                                                        ItemKind::Data, 0x05},
         "{\"first_sample\":3000000123,\"last_sample\":3000000200,\"time_s\":3000.000123000,"
         "\"time_from_trigger_s\":3000.000023000,\"kind\":\"data\",\"value\":\"5\","
         "\"rw\":null}\n"},
        {RecordFormat::Jsonl, DecoderKind::TwoWire, 16, {100, 100, ItemKind::Address, 0xA1},
         "{\"first_sample\":100,\"last_sample\":100,\"time_s\":0.000006250,"
         "\"time_from_trigger_s\":0.000000000,\"kind\":\"address\",\"value\":\"A1\","
         "\"rw\":\"read\"}\n"},
        {RecordFormat::Csv, DecoderKind::Spi, 3, {1, 2, ItemKind::Pair, 0x0A, 0xFF},
         "first_sample,last_sample,time_s,time_from_trigger_s,kind,so,si\n"
         "1,2,0.000000333,-0.000033000,pair,0A,FF\n"},
        {RecordFormat::Jsonl, DecoderKind::Serial, 0, {5, 9, ItemKind::Byte, 0x41},
         "{\"first_sample\":5,\"last_sample\":9,\"time_s\":null,\"time_from_trigger_s\":null,"
         "\"kind\":\"byte\",\"value\":\"41\"}\n"},
        {RecordFormat::Csv, DecoderKind::Serial, 0, {5, 5, ItemKind::StopBitError},
         "first_sample,last_sample,time_s,time_from_trigger_s,kind,value\n"
         "5,5,,,stop-bit-error,\n"},
    };
    for (const Case& c : cases) {
        // The trigger 100 samples in.
        std::string written;
        ItemRecords records(c.format, c.decoder, c.samplesPerMicrosecond, 100,
                            [&](std::string_view text) { written += text; });
        records.Add(c.item);
        records.End();
        EXPECT_EQ(written, c.expected);
        EXPECT_TRUE(records.Problems().empty());
    }
}

TEST(ItemRecords, ManyRecordsAreWrittenInPiecesAndNoneIsLost) {
    std::vector<size_t> pieces;
    std::string written;
    ItemRecords records(RecordFormat::Csv, DecoderKind::Serial, 24, 0, [&](std::string_view text) {
        pieces.push_back(text.size());
        written += text;
    });
    constexpr int kItems = 20000;
    for (int i = 0; i < kItems; ++i)
        records.Add({i, i, ItemKind::Byte, static_cast<uint8_t>(i)});
    records.End();
    EXPECT_GT(pieces.size(), 2u);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), kItems + 1);
    EXPECT_NE(written.find("\n19999,19999,0.000833292,0.000833292,byte,1F\n"), std::string::npos);
}

TEST(ItemRecords, AProblemIsKeptApartWithoutItsLineEndAndNothingIsWritten) {
    std::string written;
    ItemRecords records(RecordFormat::Csv, DecoderKind::Spi, 24, 0,
                        [&](std::string_view text) { written += text; });
    records.Problem("Unknown signal \"P16\": choose one of the listed signals.\r\n");
    records.End();
    EXPECT_EQ(records.Problems(),
              std::vector<std::string>{"Unknown signal \"P16\": choose one of the listed signals."});
    EXPECT_EQ(written, "") << "no records, not even the header row";
}

} // namespace
