// Writing and reading 16,777,216 samples of the virtual pod's traffic in each foreign format,
// against what no writer or reader of the format can avoid, measured in the same run: zlib
// compressing and expanding the session's sample bytes, and a plain write and read of the same
// dump or table text, both to and from the same temporary folder.
#include "harness.h"
#include "interchange/foreign_formats.h"
#include "interchange/foreign_read.h"
#include "interleaved.h"
#include "usb/sim/signal_source.h"

#include <zlib.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace norrik::interchange;

constexpr uint32_t kSamples = 16'777'216;
constexpr uint64_t kRateHz = 24'000'000;
constexpr uint32_t kLineBits = 0x1BFFFF;
// As the session writer compresses.
constexpr int kDeflateLevel = 6;
constexpr int kRepeats = 5;

std::vector<uint32_t> Traffic() {
    std::vector<uint32_t> samples(kSamples);
    const podcore::usb::sim::SignalSource source(podcore::usb::sim::Signal::Traffic,
                                                 podcore::usb::sim::SignalSource::kClockHz /
                                                     uint32_t(kRateHz));
    source.Fill(0, samples.data(), kSamples);
    for (uint32_t& word : samples)
        word &= kLineBits;
    return samples;
}

// The bytes a session stores: three per sample.
std::vector<uint8_t> SessionBytes(const std::vector<uint32_t>& samples) {
    std::vector<uint8_t> bytes;
    bytes.reserve(samples.size() * 3);
    for (const uint32_t word : samples) {
        const uint32_t packed = (word & 0x3FFFF) | ((word >> 1) & 0xC0000);
        bytes.insert(bytes.end(), {uint8_t(packed), uint8_t(packed >> 8), uint8_t(packed >> 16)});
    }
    return bytes;
}

std::string ReadWhole(const std::string& path) {
    std::string text(std::filesystem::file_size(path), '\0');
    const int descriptor = ::open(path.c_str(), O_RDONLY);
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t got = ::read(descriptor, text.data() + done, text.size() - done);
        if (got <= 0)
            break;
        done += size_t(got);
    }
    ::close(descriptor);
    if (done != text.size())
        std::fprintf(stderr, "plain read failed\n");
    return text;
}

void WriteWhole(const std::string& path, const std::string& text) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t got = ::write(descriptor, text.data() + done, text.size() - done);
        if (got <= 0)
            break;
        done += size_t(got);
    }
    ::close(descriptor);
    if (done != text.size())
        std::fprintf(stderr, "plain write failed\n");
}

void Write(CaptureFormat format, const std::vector<uint32_t>& samples, const std::string& path) {
    std::string error;
    if (!MakeWriter(format, {})->Write({samples.data(), samples.size(), kRateHz}, path, {}, error))
        std::fprintf(stderr, "write failed: %s\n", error.c_str());
}

void Read(CaptureFormat format, const std::string& path) {
    ForeignCapture capture;
    std::string error;
    if (!ReadForeignFile(format, path, {std::nullopt, kSamples}, {}, capture, error) ||
        capture.samples.size() != kSamples)
        std::fprintf(stderr, "read failed: %s\n", error.c_str());
    bench::Keep(capture.samples.Last());
}

void Report(const std::string& name, double bytes, double seconds, const std::string& baseline,
            double baselineSeconds, double target) {
    const double mebibytes = bytes / (1 << 20);
    bench::Figure(name.c_str(), mebibytes / seconds, "MiB/s");
    bench::Figure(baseline.c_str(), mebibytes / baselineSeconds, "MiB/s");
    bench::Ratio((name + " / baseline").c_str(), baselineSeconds / seconds, target);
}

void Session(const std::vector<uint32_t>& samples) {
    const std::vector<uint8_t> bytes = SessionBytes(samples);
    std::vector<uint8_t> compressed(compressBound(bytes.size()));
    uLongf compressedSize = 0;
    auto compress = [&] {
        compressedSize = compressed.size();
        if (compress2(compressed.data(), &compressedSize, bytes.data(), bytes.size(),
                      kDeflateLevel) != Z_OK)
            std::fprintf(stderr, "compress failed\n");
    };
    std::vector<uint8_t> expanded(bytes.size());
    auto expand = [&] {
        uLongf size = expanded.size();
        if (uncompress(expanded.data(), &size, compressed.data(), compressedSize) != Z_OK)
            std::fprintf(stderr, "uncompress failed\n");
        bench::Keep(expanded[size / 2]);
    };
    const auto [write, zip] = bench::InterleavedMedians(
        kRepeats, [] {}, [&] { Write(CaptureFormat::Sr, samples, "bench.sr"); }, compress);
    const auto [read, unzip] = bench::InterleavedMedians(
        kRepeats, [] {}, [&] { Read(CaptureFormat::Sr, "bench.sr"); }, expand);
    const double size = double(bytes.size());
    Report(".sr write, 16777216 samples", size, write, "zlib compress of the same bytes", zip, 0.5);
    Report(".sr read, 16777216 samples", size, read, "zlib expand of the same bytes", unzip, 0.5);
    std::printf("%-48s %14.3f MiB (of %.3f)\n", ".sr file", double(compressedSize) / (1 << 20),
                size / (1 << 20));
}

void Text(CaptureFormat format, const char* name, const std::vector<uint32_t>& samples) {
    const std::string path = std::string("bench.") + name;
    Write(format, samples, path);
    const std::string text = ReadWhole(path);
    const auto [write, plainWrite] = bench::InterleavedMedians(
        kRepeats, [] {}, [&] { Write(format, samples, path); },
        [&] { WriteWhole("plain.txt", text); });
    const auto [read, plainRead] = bench::InterleavedMedians(
        kRepeats, [] {}, [&] { Read(format, path); },
        [&] { bench::Keep(ReadWhole("plain.txt")[text.size() / 2]); });
    const double size = double(text.size());
    Report(std::string(".") + name + " write, 16777216 samples", size, write,
           "plain write of the same text", plainWrite, 0.5);
    Report(std::string(".") + name + " read, 16777216 samples", size, read,
           "plain read of the same text", plainRead, 0.5);
}

} // namespace

int main() {
    const std::vector<uint32_t> samples = Traffic();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("bench_interchange." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    Session(samples);
    Text(CaptureFormat::Vcd, "vcd", samples);
    Text(CaptureFormat::Csv, "csv", samples);
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    return 0;
}
