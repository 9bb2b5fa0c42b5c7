#include "decoder_test_support.h"
#include "decoders/two_wire_decoder.h"
#include "waveforms.h"

#include <gtest/gtest.h>

namespace {

using namespace norrik::decoders;
using decoder_test::Context;
using decoder_test::Show;

// The window's defaults: SDA on P0, SCL on P1; 100 kHz at 4 MS/s.
constexpr waveforms::TwoWireLines kBus{1u << 0, 1u << 1, 20};
constexpr uint32_t kIdle = (1u << 0) | (1u << 1);

// A capture that starts and ends with the bus idle.
class Bus {
public:
    Bus() { capture.Hold(50); }
    Bus& Start() {
        return Do([](auto& c) { waveforms::AppendStart(c, kBus); });
    }
    Bus& Stop() {
        return Do([](auto& c) { waveforms::AppendStop(c, kBus); });
    }
    Bus& Byte(uint8_t value, bool ack = true) {
        return Do([=](auto& c) { waveforms::AppendByte(c, kBus, value, ack); });
    }
    std::vector<uint32_t> Samples() {
        capture.Hold(50);
        return capture.Samples();
    }

    waveforms::Capture capture{kIdle};

private:
    template <typename Append> Bus& Do(Append append) {
        append(capture);
        return *this;
    }
};

decoder_test::Shown Decode(const std::vector<uint32_t>& samples, int32_t screenStart = 0) {
    return Show(Context(samples, screenStart), [](const auto& c, const auto& h) {
        return RunTwoWireDecode(c, TwoWireSettings{}, h);
    });
}

std::string Decoded(const std::vector<uint32_t>& samples, int32_t screenStart = 0) {
    const std::string text = Decode(samples, screenStart).text;
    const std::string header = HeaderText(DecoderKind::TwoWire);
    EXPECT_EQ(text.substr(0, header.size()), header);
    return text.substr(header.size());
}

TEST(TwoWireDecoder, WriteOfOneByte) {
    EXPECT_EQ(Decoded(Bus().Start().Byte(0xA0).Byte(0x10).Stop().Samples()),
              "\r\nSTART\r\n SlaveID: A0 Write\r\n ACK\r\n10\r\n ACK\r\n\r\nSTOP\r\n");
}

TEST(TwoWireDecoder, ReadEndedByTheMastersNack) {
    const auto samples =
        Bus().Start().Byte(0xA1).Byte(0x47).Byte(0x05).Byte(0x00, false).Stop().Samples();
    EXPECT_EQ(Decoded(samples), "\r\nSTART\r\n SlaveID: A1 Read\r\n ACK\r\n"
                                "47\r\n ACK\r\n 5\r\n ACK\r\n 0\r\n NACK\r\n\r\nSTOP\r\n");
}

TEST(TwoWireDecoder, RepeatedStartMakesTheNextByteAnAddressAgain) {
    const auto samples =
        Bus().Start().Byte(0xA0).Byte(0x00).Start().Byte(0xA1).Byte(0xC0, false).Stop().Samples();
    EXPECT_EQ(Decoded(samples), "\r\nSTART\r\n SlaveID: A0 Write\r\n ACK\r\n 0\r\n ACK\r\n"
                                "\r\nSTART\r\n SlaveID: A1 Read\r\n ACK\r\nC0\r\n NACK\r\n"
                                "\r\nSTOP\r\n");
}

TEST(TwoWireDecoder, StartInTheMiddleOfAByteDropsThePartialByte) {
    Bus bus;
    bus.Start().Byte(0xA0);
    for (int bit = 0; bit < 3; ++bit) { // three clock pulses of a byte, then a start
        bus.capture.SetAndHold(kBus.scl, true, kBus.halfBit);
        bus.capture.SetAndHold(kBus.scl, false, kBus.halfBit);
    }
    const auto samples = bus.Start().Byte(0xA1).Byte(0x42, false).Stop().Samples();
    EXPECT_EQ(Decoded(samples), "\r\nSTART\r\n SlaveID: A0 Write\r\n ACK\r\n"
                                "\r\nSTART\r\n SlaveID: A1 Read\r\n ACK\r\n42\r\n NACK\r\n"
                                "\r\nSTOP\r\n");
}

TEST(TwoWireDecoder, ClockPulsesAfterAStopAreBytesWithoutAnAddress) {
    Bus bus;
    bus.Start().Byte(0xA0).Stop();
    bus.capture.SetAndHold(kBus.scl, false, kBus.halfBit); // this edge only ends the stop
    const auto samples = bus.Byte(0x3C).Stop().Samples();
    EXPECT_EQ(Decoded(samples), "\r\nSTART\r\n SlaveID: A0 Write\r\n ACK\r\n\r\nSTOP\r\n"
                                "3C\r\n ACK\r\n\r\nSTOP\r\n");
}

TEST(TwoWireDecoder, BusNotIdleAtTheScreenStartGivesOnlyTheMessage) {
    const auto samples = Bus().Start().Byte(0xA0).Stop().Samples();
    const std::string message = "Start of waveform screen must be during bus idle time.  "
                                "Please scroll screen to start during serial bus idle time.\r\n";
    // 95: SDA low, SCL high (inside the start); 115: both low; 135: SCL low, SDA high.
    for (const int32_t start : {95, 115, 135}) {
        const auto shown = Decode(samples, start);
        EXPECT_EQ(shown.text, HeaderText(DecoderKind::TwoWire) + message) << start;
        EXPECT_EQ(decoder_test::ReadWholeFile(decoder_test::ScratchPath()), "");
        EXPECT_EQ(shown.screenStarts, std::vector<int32_t>{start});
    }
}

TEST(TwoWireDecoder, ScanStartsWithTheSampleBeforeTheScreenStart) {
    // With the screen start at 0 the first sample examined is index -1, the buffer's last:
    // here it holds SDA low under a high SCL, which reads as a start condition, and the idle
    // sample 0 after it as a stop.
    Bus bus;
    bus.Start().Byte(0xA0).Stop();
    bus.capture.SetAndHold(kBus.sda, false, 1);
    EXPECT_EQ(Decoded(bus.capture.Samples()),
              "\r\nSTART\r\n\r\nSTOP\r\n"
              "\r\nSTART\r\n SlaveID: A0 Write\r\n ACK\r\n\r\nSTOP\r\n\r\nSTART\r\n");
}

TEST(TwoWireDecoder, LinesOnOtherPins) {
    const waveforms::TwoWireLines bus{1u << 9, 1u << 14, 7.5};
    waveforms::Capture capture(bus.sda | bus.scl);
    capture.Hold(10);
    waveforms::AppendStart(capture, bus);
    waveforms::AppendByte(capture, bus, 0x5B, true);
    waveforms::AppendStop(capture, bus);
    capture.Hold(10);
    TwoWireSettings settings{"P9", "P14"};
    const auto shown = Show(Context(capture.Samples()), [&](const auto& c, const auto& h) {
        return RunTwoWireDecode(c, settings, h);
    });
    EXPECT_EQ(shown.text, HeaderText(DecoderKind::TwoWire) +
                              "\r\nSTART\r\n SlaveID: 5B Read\r\n ACK\r\n\r\nSTOP\r\n");
}

TEST(TwoWireDecoder, EventsRunAfterEachConditionByteAndAcknowledge) {
    const auto shown = Decode(Bus().Start().Byte(0xA0).Byte(0x10).Stop().Samples());
    // Header, start, two bytes with their acknowledges, stop.
    EXPECT_EQ(shown.events, 1 + 1 + 4 + 1);
    EXPECT_EQ(shown.screenStarts, std::vector<int32_t>{0}); // the screen start never moves
}

} // namespace
