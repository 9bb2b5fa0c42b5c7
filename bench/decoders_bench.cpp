// Each decoder over 24,051,712 samples of dense traffic at 24 MS/s, read in place from the
// buffer MakeBuffer returned, against a plain read of every sample of the same buffer.
#include "decoders/item_records.h"
#include "decoders/serial_decoder.h"
#include "decoders/spi_decoder.h"
#include "decoders/two_wire_decoder.h"
#include "exports/podcore.h"
#include "harness.h"
#include "plain_read.h"
#include "waveforms.h"

#include <algorithm>
#include <array>
#include <functional>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace norrik::decoders;

constexpr uint32_t kSamples = 24'051'712; // 367 blocks of 65536
constexpr int kRepeats = 7;

// 2-wire at 400 kHz: a start, an address, 16 data bytes and a stop, over and over.
waveforms::Capture TwoWireTraffic() {
    const waveforms::TwoWireLines bus{1u << 0, 1u << 1, 30};
    waveforms::Capture capture(bus.sda | bus.scl);
    for (unsigned round = 0; capture.Samples().size() < kSamples; ++round) {
        capture.Hold(60);
        waveforms::AppendStart(capture, bus);
        waveforms::AppendByte(capture, bus, 0xA0, true);
        for (unsigned byte = 0; byte < 16; ++byte)
            waveforms::AppendByte(capture, bus, static_cast<uint8_t>(round * 16 + byte), true);
        waveforms::AppendStop(capture, bus);
    }
    return capture;
}

// SPI at 4 MHz: 64-byte transfers framed by SS on P5, clock on P1, SO on P2, SI on P3.
constexpr uint32_t kSlaveSelect = 1u << 5;
waveforms::Capture SpiTraffic() {
    const waveforms::SpiLines lines{1u << 1, 1u << 2, 1u << 3, 3, false, false};
    waveforms::Capture capture(kSlaveSelect);
    for (unsigned round = 0; capture.Samples().size() < kSamples; ++round) {
        capture.Set(kSlaveSelect, true);
        capture.Hold(12);
        capture.Set(kSlaveSelect, false);
        capture.Hold(3);
        for (unsigned byte = 0; byte < 64; ++byte) {
            const auto value = static_cast<uint8_t>(round + byte);
            waveforms::AppendSpiByte(capture, lines, value, static_cast<uint8_t>(~value));
        }
    }
    return capture;
}

// Async serial at 115200 baud on SIN: text, character after character with no gap.
waveforms::Capture SerialTraffic() {
    constexpr uint32_t kSin = 1u << 16;
    const std::string text = "The quick brown fox jumps over the lazy dog 0123456789\r\n";
    waveforms::Capture capture(kSin);
    capture.Hold(100);
    for (size_t i = 0; capture.Samples().size() < kSamples; ++i)
        waveforms::AppendSerial(capture, kSin, static_cast<uint8_t>(text[i % text.size()]),
                                24e6 / 115200);
    return capture;
}

void Fill(uint32_t* buffer, const waveforms::Capture& capture) {
    std::memcpy(buffer, capture.Samples().data(), size_t{kSamples} * 4);
}

// The median of each kind of run; the kinds take turns, so that all see the same load on a
// shared machine.
template <size_t N>
std::array<double, N> TakingTurns(const std::array<std::function<void()>, N>& runs) {
    std::array<std::vector<double>, N> times;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        for (size_t kind = 0; kind < N; ++kind)
            times[kind].push_back(bench::MedianSeconds(1, runs[kind]));
    }
    std::array<double, N> medians{};
    for (size_t kind = 0; kind < N; ++kind) {
        std::sort(times[kind].begin(), times[kind].end());
        medians[kind] = times[kind][kRepeats / 2];
    }
    return medians;
}

double MegasamplesPerSecond(double seconds) {
    return kSamples / seconds / 1e6;
}

// The decoder in text output and in jsonl records, against a plain read of the buffer.
template <typename Run>
void Compare(const char* name, DecoderKind decoder, const uint32_t* buffer, Run run) {
    DecodeContext context;
    context.samples = ReaderOfBuffer(buffer, kSamples);
    context.bufferSamples = kSamples;
    context.rateCode = 247;
    context.scratchFile = (std::filesystem::temp_directory_path() / "bench_temp.fil").string();
    size_t shown = 0;
    size_t recorded = 0;
    const auto [textSeconds, jsonlSeconds, plainSeconds] = TakingTurns<3>({
        [&] {
            std::string text;
            run(context, TextHooks(text));
            shown = text.size();
        },
        [&] {
            recorded = 0;
            // As the command line writes them: to standard output, here a sink that counts.
            ItemRecords records(RecordFormat::Jsonl, decoder, 24, 0, [&](std::string_view text) {
                bench::Keep(text.data());
                recorded += text.size();
            });
            DecodeHooks hooks;
            hooks.items = &records;
            run(context, hooks);
        },
        [&] { bench::PlainAndOrRead(buffer, kSamples); },
    });
    const std::string label = name;
    const double text = MegasamplesPerSecond(textSeconds);
    bench::AtLeast((label + " text").c_str(), text, "Msamples/s", 1000);
    bench::Figure((label + " jsonl").c_str(), MegasamplesPerSecond(jsonlSeconds), "Msamples/s");
    bench::Figure("plain read", MegasamplesPerSecond(plainSeconds), "Msamples/s");
    bench::Figure((label + " text shown").c_str(), static_cast<double>(shown) / 1e3, "kB");
    bench::Figure((label + " jsonl written").c_str(), static_cast<double>(recorded) / 1e3, "kB");
    bench::Figure((label + " text / plain read").c_str(), plainSeconds / textSeconds, "ratio");
    bench::Ratio((label + " jsonl / text").c_str(), textSeconds / jsonlSeconds, 0.5);
    std::filesystem::remove(context.scratchFile);
}

} // namespace

int main() {
    uint32_t* buffer = MakeBuffer(kSamples);
    if (buffer == nullptr) {
        std::fprintf(stderr, "cannot allocate %u samples\n", kSamples);
        return 1;
    }
    Fill(buffer, TwoWireTraffic());
    const TwoWireSettings twoWire;
    Compare("2-wire 400 kHz", DecoderKind::TwoWire, buffer,
            [&](const auto& c, const auto& h) { return RunTwoWireDecode(c, twoWire, h); });

    Fill(buffer, SpiTraffic());
    SpiSettings spi;
    spi.slaveSelect = "P5";
    spi.dataOut = "P2";
    spi.dataIn = "P3";
    Compare("SPI 4 MHz", DecoderKind::Spi, buffer, [&](const auto& c, const auto& h) { return RunSpiDecode(c, spi, h); });

    Fill(buffer, SerialTraffic());
    SerialSettings serial;
    serial.baudRate = "115200";
    Compare("serial 115200 baud", DecoderKind::Serial, buffer,
            [&](const auto& c, const auto& h) { return RunSerialDecode(c, serial, h); });
    DeleteBuffer(buffer);
    return 0;
}
