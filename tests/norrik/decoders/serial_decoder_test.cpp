#include "decoder_test_support.h"
#include "decoders/serial_decoder.h"
#include "waveforms.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using namespace norrik::decoders;
using decoder_test::Context;
using decoder_test::Show;

constexpr uint32_t kSin = 1u << 16;
constexpr double kBitAt9600 = 2500; // 24,000,000 samples per second / 9600 baud
constexpr double kIdle = 3000;

struct Frame {
    uint8_t value;
    waveforms::SerialFrame shape = {};
};

std::vector<uint32_t> Line(const std::vector<Frame>& frames, double samplesPerBit = kBitAt9600) {
    waveforms::Capture capture(kSin);
    capture.Hold(kIdle);
    for (const Frame& frame : frames)
        waveforms::AppendSerial(capture, kSin, frame.value, samplesPerBit, frame.shape);
    capture.Hold(kIdle);
    return capture.Samples();
}

std::string Decoded(const std::vector<uint32_t>& samples, const SerialSettings& settings,
                    int32_t screenStart = 0, uint8_t rateCode = 247) {
    DecodeContext context = Context(samples, screenStart);
    context.rateCode = rateCode;
    const auto shown = Show(context, [&](const DecodeContext& c, const DecodeHooks& h) {
        return RunSerialDecode(c, settings, h);
    });
    const std::string header = HeaderText(DecoderKind::Serial);
    EXPECT_EQ(shown.text.substr(0, header.size()), header);
    return shown.text.substr(header.size());
}

SerialSettings With(void (*change)(SerialSettings&)) {
    SerialSettings settings;
    change(settings);
    return settings;
}

struct SerialCase {
    const char* name;
    std::vector<Frame> frames;
    SerialSettings settings;
    std::string expected;
};

void PrintTo(const SerialCase& serialCase, std::ostream* out) {
    *out << serialCase.name;
}

class SerialCharacters : public testing::TestWithParam<SerialCase> {};

TEST_P(SerialCharacters, DecodeToTheWindowText) {
    EXPECT_EQ(Decoded(Line(GetParam().frames), GetParam().settings), GetParam().expected);
}

const waveforms::SerialFrame kSevenWithParity0{7, false, false};
const waveforms::SerialFrame kSevenWithParity1{7, false, true};
const waveforms::SerialFrame kLowStopBit{8, false, std::nullopt, false};

INSTANTIATE_TEST_SUITE_P(
    Cases, SerialCharacters,
    testing::Values(
        SerialCase{"LetterA", {{0x41}}, {}, "'A' = 0x41\r\n"},
        SerialCase{"MsbitFirstReadsTheSameLineBackwards",
                   {{0x41}},
                   With([](SerialSettings& s) { s.msbFirst = true; }),
                   "'.' = 0x82\r\n"},
        SerialCase{"SevenBitsSkipParity0",
                   {{0x41, kSevenWithParity0}},
                   With([](SerialSettings& s) { s.frame = SerialFrame::SevenDataBitsParity; }),
                   "'A' = 0x41\r\n"},
        SerialCase{"SevenBitsSkipParity1",
                   {{0x41, kSevenWithParity1}},
                   With([](SerialSettings& s) { s.frame = SerialFrame::SevenDataBitsParity; }),
                   "'A' = 0x41\r\n"},
        SerialCase{"SevenBitsMsbitFirst",
                   {{0x41, {7, true, true}}},
                   With([](SerialSettings& s) {
                       s.frame = SerialFrame::SevenDataBitsParity;
                       s.msbFirst = true;
                   }),
                   "'A' = 0x41\r\n"},
        SerialCase{"CarriageReturnRawInBoth", {{0x0D}}, {}, "'\r' = 0x0D\r\n"},
        SerialCase{"UnprintableInBoth", {{0x7F}, {0x00}}, {}, "'.' = 0x7F\r\n'.' = 0x00\r\n"},
        SerialCase{"HexKeepsLeadingZero",
                   {{0x0A}, {0xFF}},
                   With([](SerialSettings& s) { s.display = DisplayMode::Hex; }),
                   "0A\r\nFF\r\n"},
        SerialCase{"AsciiIsOneRunOfText",
                   {{'H'}, {'i'}, {0x01}, {'\r'}, {'\n'}},
                   With([](SerialSettings& s) { s.display = DisplayMode::Ascii; }),
                   "Hi.\r\n"},
        SerialCase{"InvalidStopBitEndsTheRun",
                   {{0x41, kLowStopBit}, {0x42}},
                   {},
                   "'A' = 0x41\r\n Invalid Stop Bit\r\n"},
        SerialCase{"InvalidStopBitContinuesAnAsciiLine",
                   {{'O'}, {'K', kLowStopBit}, {'!'}},
                   With([](SerialSettings& s) { s.display = DisplayMode::Ascii; }),
                   "OK Invalid Stop Bit\r\n"},
        SerialCase{"TinyBaudRateReadsEveryBitPastTheEnd",
                   {{0x41}},
                   With([](SerialSettings& s) { s.baudRate = "1e-300"; }),
                   "'.' = 0xFF\r\n"},
        SerialCase{"BaudRateIsTheLeadingNumber",
                   {{0x41}},
                   With([](SerialSettings& s) { s.baudRate = " 9600 baud"; }),
                   "'A' = 0x41\r\n"}),
    [](const testing::TestParamInfo<SerialCase>& info) { return info.param.name; });

TEST(SerialDecoder, ALineHeldLowIsAStartBitWhoseStopBitFails) {
    SerialSettings settings;
    settings.signal = "P0"; // low throughout
    EXPECT_EQ(Decoded(Line({{0x41}}), settings), "'.' = 0x00\r\n Invalid Stop Bit\r\n");
}

TEST(SerialDecoder, InvertedPolarityReadsTheComplementedLine) {
    std::vector<uint32_t> samples = Line({{0x41}, {0x0D}});
    for (uint32_t& sample : samples)
        sample = ~sample;
    SerialSettings settings;
    settings.normal = false;
    EXPECT_EQ(Decoded(samples, settings), "'A' = 0x41\r\n'\r' = 0x0D\r\n");
}

TEST(SerialDecoder, BitTimeFollowsTheSampleRateOfTheCapture) {
    // 1,000,000 samples per second at 9600 baud: 104.17 samples per bit.
    const std::vector<uint32_t> samples = Line({{'O'}, {'k'}}, 1e6 / 9600);
    SerialSettings settings;
    EXPECT_EQ(Decoded(samples, settings, 0, 17), "'O' = 0x4F\r\n'k' = 0x6B\r\n");
}

TEST(SerialDecoder, RateCodeOutsideTheTableEndsWithInvalidStopBit) {
    SerialSettings settings;
    EXPECT_EQ(Decoded(Line({{0x41}}), settings, 0, 99), "'.' = 0x00\r\n Invalid Stop Bit\r\n");
}

TEST(SerialDecoder, BaudRateWithoutAPositiveLeadingNumberDecodesNothing) {
    for (const char* baud : {"0", "", "fast", "-9600", "0.0"}) {
        SerialSettings settings;
        settings.baudRate = baud;
        EXPECT_EQ(Decoded(Line({{0x41}}), settings),
                  "Baud Rate must be a number greater than 0.\r\n")
            << baud;
    }
}

TEST(SerialDecoder, ALowLineAtTheScreenStartIsTakenAsAStartBitAtOnce) {
    // The screen starts at the beginning of data bit 1 of 0x41 (lsbit first: 1 0 0 0 0 0 1 0):
    // bits 2 to 7, the stop bit and the idle line make up the character.
    const std::vector<uint32_t> samples = Line({{0x41}});
    const auto bit1 = static_cast<int32_t>(kIdle + 2 * kBitAt9600);
    EXPECT_EQ(Decoded(samples, SerialSettings{}, bit1), "'.' = 0xD0\r\n");
}

TEST(SerialDecoder, ScreenStartAtTheLastSampleOrBeyondWritesNothing) {
    std::vector<uint32_t> samples(100, 0); // low: a start bit everywhere
    for (const int32_t start : {99, 100, 5000})
        EXPECT_EQ(Decoded(samples, SerialSettings{}, start), "") << start;
}

TEST(SerialDecoder, ScreenStartFollowsEachStopBitAndIsRestored) {
    const std::vector<uint32_t> samples = Line({{'a'}, {'b'}});
    const auto shown = Show(Context(samples, 10), [](const auto& c, const auto& h) {
        return RunSerialDecode(c, SerialSettings{}, h);
    });
    const int32_t firstStop = kIdle + 9.5 * kBitAt9600;
    const int32_t secondStop = firstStop + 10 * kBitAt9600;
    EXPECT_EQ(shown.screenStarts, (std::vector<int32_t>{firstStop, secondStop, 10}));
    EXPECT_EQ(shown.events, 3); // once for the header, then once per character
}

TEST(SerialDecoder, OptionsChangedDuringTheRunApplyFromTheNextCharacter) {
    const std::vector<uint32_t> samples = Line({{'a'}, {'b'}, {'c'}});
    SerialSettings window; // the window's controls, read afresh for every character
    std::string text;
    DecodeHooks hooks = TextHooks(text);
    // The user picks "Hex" while the window shows the first character.
    hooks.setScreenStart = [&](int32_t) { window.display = DisplayMode::Hex; };
    RunSerialDecode(Context(samples), window, hooks, [&] { return window; });
    EXPECT_EQ(text, HeaderText(DecoderKind::Serial) + "'a' = 0x61\r\n62\r\n63\r\n");
}

TEST(PolarityLoggedData, InvertsAllBitsUnlessNormal) {
    const std::vector<uint32_t> samples = {0x00010203, 0xFFFF0000};
    const SampleReader reader{std::span<const uint32_t>(samples)};
    EXPECT_EQ(PolarityLoggedData(reader, 0, true), 0x00010203);
    EXPECT_EQ(PolarityLoggedData(reader, 0, false), static_cast<int32_t>(0xFFFEFDFC));
    EXPECT_EQ(PolarityLoggedData(reader, -1, false), 0x0000FFFF); // the last sample
}

} // namespace
