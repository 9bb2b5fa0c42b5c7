// Captures of real buses: each decodes to what the waveform carries.
#include "decoder_test_support.h"
#include "decoders/serial_decoder.h"
#include "decoders/spi_decoder.h"
#include "decoders/two_wire_decoder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace norrik::decoders;
using decoder_test::Show;

struct CaptureFile {
    uint8_t rateCode = 0;
    std::vector<uint32_t> samples;
};

// The settings header is 80 bytes: the rate code, then the sample count at offset 1.
CaptureFile ReadCapture(const std::string& name) {
    const std::string bytes =
        decoder_test::ReadWholeFile(std::string(TARNWICK_TEST_DATA) + "/captures/" + name);
    constexpr size_t kHeader = 80;
    CaptureFile capture;
    if (bytes.size() < kHeader) {
        ADD_FAILURE() << name << " is missing or cut short";
        return capture;
    }
    uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 1, sizeof count);
    EXPECT_EQ(bytes.size(), kHeader + size_t{count} * 4) << name;
    capture.rateCode = static_cast<uint8_t>(bytes[0]);
    capture.samples.resize((bytes.size() - kHeader) / 4);
    std::memcpy(capture.samples.data(), bytes.data() + kHeader, capture.samples.size() * 4);
    return capture;
}

// The text of a decode with the samples in memory; read through the library, one call per
// sample, they must give the same text.
template <typename Run>
std::string DecodedText(const CaptureFile& capture, int32_t screenStart, Run run) {
    DecodeContext context = decoder_test::Context(capture.samples, screenStart);
    context.rateCode = capture.rateCode;
    const std::string text = Show(context, run).text;
    context.samples = decoder_test::LibraryReader(capture.samples);
    EXPECT_EQ(Show(context, run).text, text) << "read through the library";
    return text;
}

TEST(RealCaptures, SerialTextAt9600Baud) {
    const CaptureFile capture = ReadCapture("uart_hello_9600.nrk");
    SerialSettings settings;
    settings.signal = "P0";
    const std::string text = DecodedText(
        capture, 0, [&](const auto& c, const auto& h) { return RunSerialDecode(c, settings, h); });
    std::string expected = HeaderText(DecoderKind::Serial);
    for (int line = 0; line < 4; ++line) {
        for (const char character : std::string("Hello World!\r\n")) {
            AppendQuotedByte(expected, static_cast<uint8_t>(character));
            expected += "\r\n";
        }
    }
    EXPECT_EQ(text, expected);
}

TEST(RealCaptures, TwoWireWriteThenRepeatedStartAndRead) {
    const CaptureFile capture = ReadCapture("i2c_ad5258_restart.nrk");
    const TwoWireSettings settings{"P1", "P0"};
    const auto decode = [&](const auto& c, const auto& h) {
        return RunTwoWireDecode(c, settings, h);
    };
    const std::string text = DecodedText(capture, 0, decode);
    // Device 0x1A: write 0x00, 0x3F; then set the register to 0x00 and, after a repeated
    // start, read it back 100 times, the last byte not acknowledged.
    std::string expected = HeaderText(DecoderKind::TwoWire) +
                           "\r\nSTART\r\n SlaveID: 34 Write\r\n ACK\r\n 0\r\n ACK\r\n"
                           "3F\r\n ACK\r\n\r\nSTOP\r\n"
                           "\r\nSTART\r\n SlaveID: 34 Write\r\n ACK\r\n 0\r\n ACK\r\n"
                           "\r\nSTART\r\n SlaveID: 35 Read\r\n ACK\r\n";
    for (int byte = 1; byte < 100; ++byte)
        expected += "3F\r\n ACK\r\n";
    expected += "3F\r\n NACK\r\n\r\nSTOP\r\n";
    EXPECT_EQ(text, expected);
}

TEST(RealCaptures, SpiFiveBytesLeastSignificantBitFirst) {
    const CaptureFile capture = ReadCapture("spi_allmodes_lsb.nrk");
    SpiSettings settings;
    settings.slaveSelect = "P5";
    settings.clock = "P4";
    settings.dataOut = "P3";
    settings.dataIn = "P2";
    settings.dataOutEdge = ClockEdge::Falling;
    settings.dataInEdge = ClockEdge::Falling;
    const std::string text = DecodedText(
        capture, 474, [&](const auto& c, const auto& h) { return RunSpiDecode(c, settings, h); });
    // MISO stays low; MOSI carries 5A 6B 7C 8D 9E.
    EXPECT_EQ(text, HeaderText(DecoderKind::Spi) + "SO: 00 00 00 00 00 \r\n"
                                                   "SI: 5A 6B 7C 8D 9E \r\n\r\n");
}

} // namespace
