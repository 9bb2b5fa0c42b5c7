#include "decoder_test_support.h"
#include "decoders/spi_decoder.h"
#include "waveforms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using namespace norrik::decoders;
using decoder_test::Context;
using decoder_test::Show;

constexpr uint32_t kP0 = 1u << 0, kClock = 1u << 1, kOut = 1u << 2, kIn = 1u << 3,
                   kSelect = 1u << 5;

// SCK on P1, SO on P2, SI on P3, SS on P5, sent least significant bit first.
constexpr waveforms::SpiLines kLines{kClock, kOut, kIn, 3, false, false};

SpiSettings FourWire() {
    SpiSettings settings;
    settings.slaveSelect = "P5";
    settings.dataOut = "P2";
    settings.dataIn = "P3";
    return settings;
}

std::string Decoded(const std::vector<uint32_t>& samples, const SpiSettings& settings,
                    int32_t screenStart = 0) {
    const auto decode = [&](const auto& c, const auto& h) { return RunSpiDecode(c, settings, h); };
    const std::string text = Show(Context(samples, screenStart), decode).text;
    const std::string header = HeaderText(DecoderKind::Spi);
    EXPECT_EQ(text.substr(0, header.size()), header);
    return text.substr(header.size());
}

// Byte pairs inside one slave-select frame, with idle time around it.
std::vector<uint32_t> Transfer(const std::vector<std::pair<uint8_t, uint8_t>>& pairs,
                               const waveforms::SpiLines& lines = kLines) {
    waveforms::Capture capture(kSelect | (lines.clockIdlesHigh ? lines.clock : 0));
    capture.Hold(10);
    capture.SetAndHold(kSelect, false, 4);
    for (const auto& [dataOut, dataIn] : pairs)
        waveforms::AppendSpiByte(capture, lines, dataOut, dataIn);
    capture.SetAndHold(kSelect, true, 10);
    return capture.Samples();
}

TEST(SpiDecoder, DefaultsMakeOneBytePairOfSixteenTransitionsAfterTheScreenStart) {
    // "None" for SS, SCK on P1, SO and SI both on P0, rising edges, lsb first, "Hex".
    const waveforms::SpiLines lines{kClock, kP0, kP0, 3, false, false};
    waveforms::Capture capture;
    capture.Hold(5);
    waveforms::AppendSpiByte(capture, lines, 0x41, 0x41);
    capture.Hold(5);
    EXPECT_EQ(Decoded(capture.Samples(), SpiSettings{}), "SO: 41 \r\nSI: 41 \r\n\r\n");
}

TEST(SpiDecoder, EightBytePairsMakeOneRow) {
    std::vector<std::pair<uint8_t, uint8_t>> pairs;
    for (uint8_t i = 0; i < 8; ++i)
        pairs.emplace_back(i, 0xF0 + i);
    EXPECT_EQ(Decoded(Transfer(pairs), FourWire()),
              "SO: 00 01 02 03 04 05 06 07 \r\nSI: F0 F1 F2 F3 F4 F5 F6 F7 \r\n\r\n");
}

TEST(SpiDecoder, PartialRowIsWrittenAtTheEndOfTheBuffer) {
    const auto samples = Transfer({{1, 2},
                                   {3, 4},
                                   {5, 6},
                                   {7, 8},
                                   {9, 10},
                                   {11, 12},
                                   {13, 14},
                                   {15, 16},
                                   {0xAB, 0xCD},
                                   {0xEF, 0x01},
                                   {0x23, 0x45}});
    EXPECT_EQ(Decoded(samples, FourWire()), "SO: 01 03 05 07 09 0B 0D 0F \r\n"
                                            "SI: 02 04 06 08 0A 0C 0E 10 \r\n\r\n"
                                            "SO: AB EF 23 \r\nSI: CD 01 45 \r\n\r\n");
}

TEST(SpiDecoder, BitOrderOfTheFirstSampledBit) {
    // SO high on the first rising edge only.
    waveforms::SpiLines lines = kLines;
    lines.msbFirst = true;
    const auto samples = Transfer({{0x80, 0x00}}, lines);
    SpiSettings settings = FourWire();
    settings.msbFirst = true;
    EXPECT_EQ(Decoded(samples, settings), "SO: 80 \r\nSI: 00 \r\n\r\n");
    settings.msbFirst = false;
    EXPECT_EQ(Decoded(samples, settings), "SO: 01 \r\nSI: 00 \r\n\r\n");
}

TEST(SpiDecoder, ClockIdlingHighOrSampledOnFallingEdges) {
    waveforms::SpiLines lines = kLines;
    lines.clockIdlesHigh = true;
    for (const ClockEdge edge : {ClockEdge::Rising, ClockEdge::Falling}) {
        SpiSettings settings = FourWire();
        settings.dataOutEdge = edge;
        settings.dataInEdge = edge;
        const std::string expected = "SO: 3C \r\nSI: A5 \r\n\r\n";
        EXPECT_EQ(Decoded(Transfer({{0x3C, 0xA5}}, lines), settings), expected);
    }
}

TEST(SpiDecoder, DisplayModes) {
    const auto samples = Transfer({{0x41, 0x0A}, {0x7F, 0x0D}});
    SpiSettings settings = FourWire();
    settings.display = DisplayMode::Both;
    EXPECT_EQ(Decoded(samples, settings), "'A' = 0x41  '\n' = 0x0A\r\n"
                                          "'.' = 0x7F  '\r' = 0x0D\r\n");
    settings.display = DisplayMode::Ascii;
    EXPECT_EQ(Decoded(samples, settings), "A  \n\r\n.  \r\r\n");
}

TEST(SpiDecoder, RowLengthFromTheBytesPerRowText) {
    const auto samples = Transfer({{1, 2}, {3, 4}, {5, 6}});
    const std::string rowPerPair = "SO: 01 \r\nSI: 02 \r\n\r\nSO: 03 \r\nSI: 04 \r\n\r\n"
                                   "SO: 05 \r\nSI: 06 \r\n\r\n";
    const std::pair<const char*, std::string> cases[] = {
        {"0", rowPerPair},
        {"", rowPerPair},
        {"-3", rowPerPair},
        {"per row", rowPerPair},
        {"2 bytes", "SO: 01 03 \r\nSI: 02 04 \r\n\r\nSO: 05 \r\nSI: 06 \r\n\r\n"},
        {"2.5", "SO: 01 03 05 \r\nSI: 02 04 06 \r\n\r\n"},
    };
    for (const auto& [bytesPerRow, expected] : cases) {
        SpiSettings settings = FourWire();
        settings.bytesPerRow = bytesPerRow;
        EXPECT_EQ(Decoded(samples, settings), expected) << bytesPerRow;
    }
}

TEST(SpiDecoder, RowsLongerThanTwoThousandAndOnePairs) {
    std::vector<std::pair<uint8_t, uint8_t>> pairs(2600, {0x12, 0x34});
    SpiSettings settings = FourWire();
    settings.bytesPerRow = "2500";
    const std::string text = Decoded(Transfer(pairs), settings);
    auto row = [](const char* label, int count) {
        std::string line = label;
        for (int i = 0; i < count; ++i)
            line += label[1] == 'O' ? "12 " : "34 ";
        return line + "\r\n";
    };
    EXPECT_EQ(text, row("SO: ", 2500) + row("SI: ", 2500) + "\r\n" + row("SO: ", 100) +
                        row("SI: ", 100) + "\r\n");
}

// SS falls, four clock pulses with the data lines high, SS rises.
waveforms::Capture TransferCutShort() {
    waveforms::Capture capture(kSelect);
    capture.Hold(10);
    capture.SetAndHold(kSelect, false, 4);
    waveforms::AppendSpiByte(capture, kLines, 0xFF, 0xFF, 4);
    capture.SetAndHold(kSelect, true, 4);
    return capture;
}

// A clock transition while deselected drops the byte in the making.
TEST(SpiDecoder, DeselectInTheMiddleOfAByteDropsIt) {
    waveforms::Capture capture = TransferCutShort();
    // Another device's traffic on the shared clock.
    waveforms::AppendSpiByte(capture, kLines, 0x00, 0x00);
    capture.SetAndHold(kSelect, false, 4);
    waveforms::AppendSpiByte(capture, kLines, 0x5A, 0xC3);
    capture.SetAndHold(kSelect, true, 10);
    const auto samples = capture.Samples();
    const auto shown = Show(Context(samples), [](const auto& c, const auto& h) {
        return RunSpiDecode(c, FourWire(), h);
    });
    EXPECT_EQ(shown.text, HeaderText(DecoderKind::Spi) + "SO: 5A \r\nSI: C3 \r\n\r\n");
    ASSERT_EQ(shown.screenStarts.size(), 3u); // the deselect, the byte, the origin restored
    EXPECT_EQ(samples[shown.screenStarts[0]] & kSelect, kSelect);
    EXPECT_EQ(shown.screenStarts[2], 0);
}

TEST(SpiDecoder, DeselectWithoutAClockTransitionGoesUnnoticed) {
    // The slave select is looked at on clock transitions only: a transfer cut short and the
    // next one, with no clock in between, run together into one byte.
    waveforms::Capture capture = TransferCutShort();
    capture.SetAndHold(kSelect, false, 4);
    waveforms::AppendSpiByte(capture, kLines, 0x00, 0x00);
    capture.SetAndHold(kSelect, true, 10);
    EXPECT_EQ(Decoded(capture.Samples(), FourWire()), "SO: 0F \r\nSI: 0F \r\n\r\n");
}

TEST(SpiDecoder, ScreenStartAtTheLastSampleOrBeyondWritesNothing) {
    const auto samples = Transfer({{1, 2}});
    const auto last = static_cast<int32_t>(samples.size() - 1);
    for (const int32_t start : {last, last + 1, last + 1000})
        EXPECT_EQ(Decoded(samples, FourWire(), start), "") << start;
}

// The decoder as a plain reading of its rules, one sample at a time: the faster scan must say
// exactly what this says, about the same samples, at the same points.
struct LiteralSpi {
    uint32_t select;
    uint32_t clock;
    uint32_t dataOut;
    uint32_t dataIn;
    bool outOnRising;
    bool inOnRising;

    std::string Decode(const std::vector<uint32_t>& samples, int64_t position,
                       std::vector<int32_t>& screenStarts) const {
        const int64_t last = static_cast<int64_t>(samples.size()) - 1;
        const auto high = [&](int64_t i, uint32_t line) { return (samples[i] & line) != 0; };
        std::string text;
        for (;;) {
            int64_t i = position;
            while (i < last && high(i, select))
                ++i;
            if (i >= last)
                return text;
            unsigned out = 0, in = 0;
            bool deselected = false;
            for (int transition = 0; transition < 16 && !deselected; ++transition) {
                const bool noted = high(i, clock);
                do {
                    if (++i >= last)
                        return text;
                } while (high(i, clock) == noted);
                if (high(i, select)) {
                    deselected = true;
                    break;
                }
                const bool rising = !noted;
                if (rising == outOnRising)
                    out = out / 2 + (high(i, dataOut) ? 128 : 0);
                if (rising == inOnRising)
                    in = in / 2 + (high(i, dataIn) ? 128 : 0);
            }
            if (!deselected) {
                AppendQuotedByte(text, static_cast<uint8_t>(out));
                text += "  ";
                AppendQuotedByte(text, static_cast<uint8_t>(in));
                text += "\r\n";
            }
            screenStarts.push_back(static_cast<int32_t>(i));
            position = i;
        }
    }
};

// Random traffic: clock runs of 1 to 80 samples, so that edges fall on every place of a block
// and bytes straddle blocks, with the select and the data lines changing at random.
std::vector<uint32_t> RandomTraffic(std::mt19937& random, size_t count) {
    std::vector<uint32_t> samples;
    samples.reserve(count);
    uint32_t levels = 0;
    while (samples.size() < count) {
        levels ^= kClock;
        if (random() % 16 == 0)
            levels ^= kSelect;
        levels = (levels & ~(kOut | kIn)) | (random() & (kOut | kIn));
        const size_t run = 1 + random() % (random() % 4 == 0 ? 80 : 6);
        samples.insert(samples.end(), std::min(run, count - samples.size()), levels);
    }
    return samples;
}

TEST(SpiDecoder, RandomTrafficDecodesAsTheRulesReadSampleBySample) {
    std::mt19937 random(20261210);
    const struct {
        size_t samples;
        bool outOnRising;
        bool inOnRising;
    } cases[] = {
        {3000, true, true},
        {5000, false, true},
        {(size_t{1} << 20) + 777, true, false}, // passes a progress mark
    };
    for (const auto& c : cases) {
        const std::vector<uint32_t> samples = RandomTraffic(random, c.samples);
        SpiSettings settings = FourWire();
        settings.display = DisplayMode::Both;
        settings.dataOutEdge = c.outOnRising ? ClockEdge::Rising : ClockEdge::Falling;
        settings.dataInEdge = c.inOnRising ? ClockEdge::Rising : ClockEdge::Falling;
        const LiteralSpi literal{kSelect, kClock, kOut, kIn, c.outOnRising, c.inOnRising};
        for (const int32_t start : {0, 1, 63, 64, 200}) {
            std::vector<int32_t> screenStarts;
            const std::string expected = literal.Decode(samples, start, screenStarts);
            const auto shown = Show(Context(samples, start), [&](const auto& x, const auto& h) {
                return RunSpiDecode(x, settings, h);
            });
            screenStarts.push_back(start);
            EXPECT_EQ(shown.text, HeaderText(DecoderKind::Spi) + expected) << start;
            EXPECT_EQ(shown.screenStarts, screenStarts) << start;
        }
    }
}

} // namespace
