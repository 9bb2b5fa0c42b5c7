#include "decoder_test_support.h"
#include "decoders/sample_scanner.h"
#include "decoders/serial_decoder.h"
#include "decoders/signal_names.h"
#include "decoders/spi_decoder.h"
#include "decoders/two_wire_decoder.h"
#include "waveforms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>
#include <random>

namespace {

using namespace norrik::decoders;
using decoder_test::Context;
using decoder_test::Show;

TEST(SampleReader, ReadsLikeLoggedData) {
    const std::vector<uint32_t> samples = {10, 20, 30};
    const SampleReader memory{std::span<const uint32_t>(samples)};
    EXPECT_EQ(memory(0), 10u);
    EXPECT_EQ(memory(2), 30u);
    EXPECT_EQ(memory(3), 30u);  // at or past the end: the last sample
    EXPECT_EQ(memory(-1), 30u); // read unsigned, as the library does
    EXPECT_EQ(memory(int64_t{1} << 33), 30u);
    EXPECT_EQ(SampleReader{std::span<const uint32_t>()}(0), 0u); // no samples

    static uint32_t lastIndex;
    const SampleReader library{[](uint32_t index) -> int32_t {
        lastIndex = index;
        return -2;
    }};
    EXPECT_EQ(library(7), 0xFFFFFFFEu);
    EXPECT_EQ(lastIndex, 7u);
    library(-1);
    EXPECT_EQ(lastIndex, 0xFFFFFFFFu);
    library(int64_t{1} << 32);
    EXPECT_EQ(lastIndex, 0xFFFFFFFFu);
}

TEST(SampleScanner, LevelsOfEveryLineAsTheSamplesCarryThem) {
    // Random words over three blocks; lines read in an order that mixes the bytes of a sample
    // and comes back to a block already read.
    std::mt19937 random(7);
    std::vector<uint32_t> samples(3 * SampleScanner::kBlock);
    for (uint32_t& sample : samples)
        sample = static_cast<uint32_t>(random());
    const SampleReader reader{std::span<const uint32_t>(samples)};
    SampleScanner scanner(reader);
    for (const int64_t start : {int64_t{0}, int64_t{64}, int64_t{0}, int64_t{128}}) {
        for (const int bit : {5, 1, 16, 31, 0, 9, 20, 7, 24}) {
            uint64_t expected = 0;
            for (int j = 0; j < SampleScanner::kBlock; ++j)
                expected |= uint64_t{(samples[start + j] >> bit) & 1} << j;
            EXPECT_EQ(scanner.Levels(start, 1u << bit), expected) << start << " bit " << bit;
        }
        EXPECT_EQ(scanner.Levels(start, 0), 0u);
    }
}

// Samples held in memory and the same samples read through the library give the same search
// results, and both match a sample-by-sample reading, over ranges that start before sample 0,
// end past the last sample, or lie within one block of sixteen.
TEST(SampleScanner, FindsTheFirstDifferingSampleWhereverTheSamplesAre) {
    std::mt19937 random(11);
    // Long quiet stretches with a few changes, so that both the quick pass and the place of
    // a change within sixteen samples are exercised.
    std::vector<uint32_t> samples(1000, 0x5);
    for (int change = 0; change < 40; ++change)
        samples[random() % samples.size()] ^= 1u << (random() % 4);
    const SampleReader memory{std::span<const uint32_t>(samples)};
    const SampleReader library = decoder_test::LibraryReader(samples);
    const auto expected = [&](int64_t from, int64_t end, uint32_t mask, uint32_t value) {
        for (int64_t i = from; i < end; ++i) {
            if ((memory(i) & mask) != value)
                return i;
        }
        return end;
    };
    struct Range {
        int64_t from;
        int64_t end;
    };
    const Range ranges[] = {{0, 1000}, {-5, 1000}, {-1, 3}, {17, 33}, {990, 1100},
                            {1000, 1010}, {5, 5}, {300, 200}, {-20, -3}};
    for (const Range range : ranges) {
        for (const uint32_t mask : {0x1u, 0x6u, 0xFu, 0x0u}) {
            for (const uint32_t value : {0x0u, 0x1u, 0x4u, 0x5u, 0x10u}) {
                SampleScanner inMemory(memory);
                SampleScanner throughLibrary(library);
                const int64_t want = expected(range.from, range.end, mask, value);
                EXPECT_EQ(inMemory.FindDiffering(range.from, range.end, mask, value), want)
                    << range.from << ".." << range.end << " mask " << mask << " value " << value;
                EXPECT_EQ(throughLibrary.FindDiffering(range.from, range.end, mask, value), want)
                    << range.from << ".." << range.end << " mask " << mask << " value " << value;
            }
        }
    }
}

TEST(SignalNames, ListsAndMasks) {
    const std::vector<std::string> pins = PinSignalNames();
    ASSERT_EQ(pins.size(), 16u);
    EXPECT_EQ(pins.front(), "P0");
    EXPECT_EQ(pins.back(), "P15");
    const std::vector<std::string> serial = SerialSignalNames();
    EXPECT_EQ(std::vector<std::string>(serial.begin() + 16, serial.end()),
              (std::vector<std::string>{"VDD", "RES", "SOUT", "SIN"}));
    EXPECT_EQ(SlaveSelectNames().back(), "None");
    EXPECT_EQ(SlaveSelectNames().size(), 17u);

    const std::pair<const char*, std::optional<uint32_t>> masks[] = {
        {"P0", 0x1},           {"P7", 0x80},         {"P15", 0x8000},    {"VDD", 0x100000},
        {"RES", 0x80000},      {"SOUT", 0x20000},    {"SIN", 0x10000},   {"None", 0},
        {"P16", std::nullopt}, {"p3", std::nullopt}, {"", std::nullopt}, {"P01", std::nullopt},
    };
    for (const auto& [name, mask] : masks)
        EXPECT_EQ(SignalMask(name), mask) << name;
}

TEST(DecodeProcedure, HeaderLines) {
    EXPECT_EQ(HeaderText(DecoderKind::Serial),
              "Decoding Asynchronous serial bus transactions from the beginning of the waveform "
              "screen.\r\nPlease wait...\r\n");
    EXPECT_EQ(HeaderText(DecoderKind::TwoWire),
              "Decoding 2-wire serial bus transactions from the beginning of the waveform "
              "screen.\r\nPlease wait...\r\n");
    EXPECT_EQ(HeaderText(DecoderKind::Spi),
              "Decoding SPI serial bus transactions from the beginning of the waveform "
              "screen.\r\nPlease wait...\r\n");
}

TEST(DecodeProcedure, DemoLinesOfEachWindow) {
    EXPECT_EQ(DemoText(DecoderKind::Serial),
              HeaderText(DecoderKind::Serial) +
                  "'P' = 0x50\r\n'l' = 0x6C\r\n'i' = 0x69\r\n'n' = 0x6E\r\n'k' = 0x6B\r\n"
                  "'e' = 0x65\r\n't' = 0x74\r\n' ' = 0x20\r\n'K' = 0x4B\r\n'T' = 0x54\r\n");
    EXPECT_EQ(DemoText(DecoderKind::Spi), HeaderText(DecoderKind::Spi) +
                                              "'N' = 0x4E\r\n'o' = 0x6F\r\n'r' = 0x72\r\n"
                                              "'r' = 0x72\r\n'i' = 0x69\r\n'k' = 0x6B\r\n");
    EXPECT_EQ(DemoText(DecoderKind::TwoWire),
              "Start\r\nA1 Control Byte: Slave Address 50 Read\r\n ACK\r\n0\r\n NACK\r\n"
              "Start\r\nA0 Control Byte: Slave Address 50 Write\r\n ACK\r\n0\r\n ACK\r\n"
              "Start\r\nA1 Control Byte: Slave Address 50 Read\r\n ACK\r\nC0\r\n"
              "47\r\n ACK\r\n5\r\n ACK\r\n3\r\n ACK\r\n0\r\n"
              "8\r\n ACK\r\n0\r\n ACK\r\n0\r\n NACK\r\nStop\r\n");
}

TEST(DecodeProcedure, DemoRunsAddToTheSerialAndSpiTextButReplaceTheTwoWireText) {
    const std::vector<uint32_t> none;
    DecodeContext context = Context(none, 123);
    context.demoMode = true;
    const auto serial = [](const auto& c, const auto& h) {
        return RunSerialDecode(c, SerialSettings{}, h);
    };
    auto shown = Show(context, serial, "before\r\n");
    shown = Show(context, serial, shown.text);
    EXPECT_EQ(shown.text,
              "before\r\n" + DemoText(DecoderKind::Serial) + DemoText(DecoderKind::Serial));
    EXPECT_EQ(shown.screenStarts, std::vector<int32_t>{123});

    const SpiSettings spiSettings;
    const auto spi = [&](const auto& c, const auto& h) { return RunSpiDecode(c, spiSettings, h); };
    EXPECT_EQ(Show(context, spi, "x").text, "x" + DemoText(DecoderKind::Spi));

    const auto twoWire = [](const auto& c, const auto& h) {
        return RunTwoWireDecode(c, TwoWireSettings{}, h);
    };
    const std::string once = HeaderText(DecoderKind::TwoWire) + DemoText(DecoderKind::TwoWire);
    EXPECT_EQ(Show(context, twoWire, Show(context, twoWire).text).text, once);
}

// A short SPI transfer: bytes 0x31 0x32 on SO and SI, default lines.
std::vector<uint32_t> SpiBytes() {
    const waveforms::SpiLines lines{1u << 1, 1u << 0, 1u << 0, 2, false, false};
    waveforms::Capture capture;
    capture.Hold(3);
    waveforms::AppendSpiByte(capture, lines, 0x31, 0x31);
    waveforms::AppendSpiByte(capture, lines, 0x32, 0x32);
    capture.Hold(3);
    return capture.Samples();
}

TEST(DecodeProcedure, ScratchFileHoldsExactlyTheTextAddedAfterTheHeader) {
    const std::vector<uint32_t> samples = SpiBytes();
    SpiSettings settings;
    settings.display = DisplayMode::Both;
    const auto shown = Show(Context(samples), [&](const auto& c, const auto& h) {
        return RunSpiDecode(c, settings, h);
    });
    EXPECT_TRUE(shown.scratchFileWritten);
    const std::string scratch = decoder_test::ReadWholeFile(decoder_test::ScratchPath());
    EXPECT_EQ(scratch, "'1' = 0x31  '1' = 0x31\r\n'2' = 0x32  '2' = 0x32\r\n");
    EXPECT_EQ(shown.text, HeaderText(DecoderKind::Spi) + scratch);
}

TEST(DecodeProcedure, ScratchFileThatCannotBeWrittenStillShowsTheText) {
    const std::vector<uint32_t> samples = SpiBytes();
    DecodeContext context = Context(samples);
    context.scratchFile = testing::TempDir() + "no-such-folder/temp.fil";
    const auto shown = Show(
        context, [](const auto& c, const auto& h) { return RunSpiDecode(c, SpiSettings{}, h); });
    EXPECT_FALSE(shown.scratchFileWritten);
    EXPECT_EQ(shown.text, HeaderText(DecoderKind::Spi) + "SO: 31 32 \r\nSI: 31 32 \r\n\r\n");
}

TEST(DecodeProcedure, SignalNameNoListOffersDecodesNothing) {
    const std::vector<uint32_t> samples = SpiBytes();
    SpiSettings settings;
    settings.clock = "P16";
    const auto shown = Show(Context(samples), [&](const auto& c, const auto& h) {
        return RunSpiDecode(c, settings, h);
    });
    EXPECT_EQ(shown.text, HeaderText(DecoderKind::Spi) +
                              "Unknown signal \"P16\": choose one of the listed signals.\r\n");
}

// Each decoder with its default settings over a capture with traffic for it, and the run.
struct DecoderCase {
    const char* name;
    DecoderKind kind;
    std::vector<uint32_t> samples;
    std::function<DecodeOutcome(const DecodeContext&, const DecodeHooks&)> run;
};

std::vector<DecoderCase> DecoderCases() {
    constexpr uint32_t kSin = 1u << 16;
    waveforms::Capture serial(kSin);
    serial.Hold(100);
    for (const char c : std::string("serial text"))
        waveforms::AppendSerial(serial, kSin, static_cast<uint8_t>(c), 24e6 / 9600);
    serial.Hold(3000);

    // Ends with SDA low under a high SCL: the bus is not idle at the last sample.
    const waveforms::TwoWireLines bus{1u << 0, 1u << 1, 10};
    waveforms::Capture twoWire(bus.sda | bus.scl);
    twoWire.Hold(100);
    waveforms::AppendStart(twoWire, bus);
    waveforms::AppendByte(twoWire, bus, 0xA0, true);
    waveforms::AppendByte(twoWire, bus, 0x5C, false);
    waveforms::AppendStop(twoWire, bus);
    twoWire.SetAndHold(bus.sda, false, 1);

    const waveforms::SpiLines lines{1u << 1, 1u << 0, 1u << 0, 2, false, false};
    waveforms::Capture spiBytes;
    spiBytes.Hold(3);
    for (const char c : std::string("spi text"))
        waveforms::AppendSpiByte(spiBytes, lines, static_cast<uint8_t>(c), 0);
    spiBytes.Hold(3);
    SpiSettings spi;
    spi.display = DisplayMode::Both;

    return {
        {"serial", DecoderKind::Serial, serial.Samples(),
         [](const auto& c, const auto& h) { return RunSerialDecode(c, SerialSettings{}, h); }},
        {"2-wire", DecoderKind::TwoWire, twoWire.Samples(),
         [](const auto& c, const auto& h) { return RunTwoWireDecode(c, TwoWireSettings{}, h); }},
        {"SPI", DecoderKind::Spi, spiBytes.Samples(),
         [spi](const auto& c, const auto& h) { return RunSpiDecode(c, spi, h); }},
    };
}

TEST(DecodeProcedure, ScreenStartBeforeTheCaptureDecodesFromSampleZeroAndIsRestored) {
    for (const DecoderCase& decoder : DecoderCases()) {
        const auto fromZero = Show(Context(decoder.samples, 0), decoder.run);
        ASSERT_GT(fromZero.text.size(), 120u) << decoder.name; // more than the header
        for (const int32_t start : {-1, -100, std::numeric_limits<int32_t>::min()}) {
            const auto shown = Show(Context(decoder.samples, start), decoder.run);
            EXPECT_EQ(shown.text, fromZero.text) << decoder.name << " " << start;
            EXPECT_EQ(shown.progress, fromZero.progress) << decoder.name << " " << start;
            ASSERT_FALSE(shown.screenStarts.empty());
            EXPECT_EQ(shown.screenStarts.back(), start) << decoder.name;
        }
    }
}

TEST(DecodeProcedure, TextIsPassedOnInBatchesWhileTheRunGoesOn) {
    for (const DecoderCase& decoder : DecoderCases()) {
        const auto atTheEnd = Show(Context(decoder.samples), decoder.run, {},
                                   [](DecodeHooks& h) { h.textInterval = std::chrono::hours(1); });
        EXPECT_EQ(atTheEnd.additions, 1) << decoder.name; // the header replaced Text1
        const auto batched = Show(Context(decoder.samples), decoder.run, {}, [](DecodeHooks& h) {
            h.textInterval = std::chrono::milliseconds(0);
        });
        EXPECT_GT(batched.additions, 2) << decoder.name;
        EXPECT_EQ(batched.text, atTheEnd.text) << decoder.name;
        EXPECT_EQ(decoder_test::ReadWholeFile(decoder_test::ScratchPath()),
                  batched.text.substr(HeaderText(decoder.kind).size()))
            << decoder.name;
    }
}

TEST(DecodeProcedure, EventsRunAtMostAsOftenAsTheHooksAllow) {
    for (const DecoderCase& decoder : DecoderCases()) {
        const auto everyUnit = Show(Context(decoder.samples), decoder.run);
        EXPECT_GT(everyUnit.events, 3) << decoder.name;
        const auto rarely = Show(Context(decoder.samples), decoder.run, {},
                                 [](DecodeHooks& h) { h.eventInterval = std::chrono::hours(1); });
        EXPECT_EQ(rarely.events, 1) << decoder.name; // for the header only
        EXPECT_EQ(rarely.text, everyUnit.text) << decoder.name;
    }
}

TEST(DecodeProcedure, CancelledRunStopsAtTheNextUnitKeepingItsText) {
    for (const DecoderCase& decoder : DecoderCases()) {
        const auto whole = Show(Context(decoder.samples, 7), decoder.run);
        const auto cancelled =
            Show(Context(decoder.samples, 7), decoder.run, {}, [](DecodeHooks& h) {
                h.cancelRequested = [asked = 0]() mutable { return ++asked == 3; };
            });
        EXPECT_FALSE(whole.cancelled);
        EXPECT_TRUE(cancelled.cancelled) << decoder.name;
        EXPECT_EQ(cancelled.events, 3) << decoder.name;
        EXPECT_LT(cancelled.text.size(), whole.text.size()) << decoder.name;
        EXPECT_TRUE(whole.text.starts_with(cancelled.text)) << decoder.name;
        EXPECT_EQ(decoder_test::ReadWholeFile(decoder_test::ScratchPath()),
                  cancelled.text.substr(HeaderText(decoder.kind).size()))
            << decoder.name;
        EXPECT_EQ(cancelled.screenStarts.back(), 7) << decoder.name;
        EXPECT_TRUE(cancelled.scratchFileWritten);
    }
}

TEST(DecodeProcedure, ProgressAtEveryMebisampleAndAtTheEnd) {
    constexpr int64_t kStep = 1 << 20;
    const std::vector<uint32_t> idle(2 * kStep + 10, 0xFFFFFFFF); // no start bit anywhere
    const auto shown = Show(Context(idle), [](const auto& c, const auto& h) {
        return RunSerialDecode(c, SerialSettings{}, h);
    });
    const double n = static_cast<double>(idle.size());
    EXPECT_EQ(shown.progress, (std::vector<double>{0, kStep / n, 2 * kStep / n, (n - 1) / n}));
}

TEST(DecodeProcedure, ProgressAtEveryMebisampleWhileTheClockRuns) {
    // P0 high, P1 toggling every three samples: SPI and 2-wire traffic everywhere.
    constexpr int64_t kStep = 1 << 20;
    std::vector<uint32_t> samples(2 * kStep + 10);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = 1u | ((i / 3) % 2 == 0 ? 2u : 0u);
    const double n = static_cast<double>(samples.size());
    const std::vector<double> marks = {0, kStep / n, 2 * kStep / n};

    const auto spi = Show(Context(samples), [](const auto& c, const auto& h) {
        return RunSpiDecode(c, SpiSettings{}, h);
    });
    std::vector<double> expected = marks;
    expected.push_back((n - 1) / n); // the edge search stops before the last sample
    EXPECT_EQ(spi.progress, expected);

    const auto twoWire = Show(Context(samples), [](const auto& c, const auto& h) {
        return RunTwoWireDecode(c, TwoWireSettings{}, h);
    });
    expected = marks;
    expected.push_back(1); // the 2-wire scan runs to the end
    EXPECT_EQ(twoWire.progress, expected);
}

TEST(DecodeProcedure, ProgressFraction) {
    EXPECT_DOUBLE_EQ(ProgressFraction(600, 100, 1100), 0.5);
    EXPECT_DOUBLE_EQ(ProgressFraction(5000, 100, 1100), 1.0); // past the end
    EXPECT_DOUBLE_EQ(ProgressFraction(50, 100, 1100), 0.0);
    EXPECT_DOUBLE_EQ(ProgressFraction(1100, 1100, 1100), 1.0); // nothing to decode
}

} // namespace
