// Saving and opening a 16,777,216-sample capture against a plain write and read of the same
// bytes, both to and from the same temporary folder, so that both meet the same page cache.
#include "exports/podcore.h"
#include "files/settings_file.h"
#include "harness.h"
#include "interleaved.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using bench::InterleavedMedians;

constexpr uint32_t kSamples = 16'777'216;
constexpr size_t kFileBytes = 80 + size_t{kSamples} * 4;

void PlainWrite(const char* name, const uint32_t* samples) {
    const int descriptor = ::open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const uint8_t header[80] = {};
    bool ok = ::write(descriptor, header, sizeof header) == sizeof header;
    ok = ok && ::write(descriptor, samples, kFileBytes - 80) == ssize_t(kFileBytes - 80);
    ::close(descriptor);
    if (!ok)
        std::fprintf(stderr, "plain write failed\n");
}

void PlainRead(const char* name, uint32_t* samples) {
    const int descriptor = ::open(name, O_RDONLY);
    uint8_t header[80];
    bool ok = ::read(descriptor, header, sizeof header) == sizeof header;
    ok = ok && ::read(descriptor, samples, kFileBytes - 80) == ssize_t(kFileBytes - 80);
    ::close(descriptor);
    if (!ok)
        std::fprintf(stderr, "plain read failed\n");
}

void Report(const char* work, double workSeconds, const char* baseline, double baselineSeconds,
            const char* ratio) {
    const double mebibytes = double(kFileBytes) / (1 << 20);
    bench::Figure(work, mebibytes / workSeconds, "MiB/s");
    bench::Figure(baseline, mebibytes / baselineSeconds, "MiB/s");
    bench::Ratio(ratio, baselineSeconds / workSeconds, 0.5);
}

} // namespace

int main() {
    uint32_t* samples = MakeBuffer(kSamples);
    if (samples == nullptr) {
        std::fprintf(stderr, "cannot allocate %u samples\n", kSamples);
        return 1;
    }
    DemoData();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("bench_capture_files." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);

    uint8_t rateCode = 27;
    uint32_t count = kSamples;
    podcore::files::SettingsFields fields;
    fields.rateCode = &rateCode;
    fields.sampleCount = &count;

    auto save = [&] {
        if (podcore::files::SaveSettingsFile(fields, "capture.nrk") != 1)
            std::fprintf(stderr, "save failed\n");
    };
    auto plainWrite = [&] { PlainWrite("plain.nrk", samples); };
    auto removeFiles = [] {
        std::filesystem::remove("capture.nrk");
        std::filesystem::remove("plain.nrk");
    };
    // Over an existing file both pay for the file system freeing the previous one.
    auto keepFiles = [] {};

    constexpr int kRepeats = 9;
    const auto [newSave, newWrite] = InterleavedMedians(kRepeats, removeFiles, save, plainWrite);
    const auto [replacingSave, replacingWrite] =
        InterleavedMedians(kRepeats, keepFiles, save, plainWrite);
    const auto [open, read] = InterleavedMedians(
        kRepeats, keepFiles,
        [&] {
            if (podcore::files::OpenSettingsFile(fields, "capture.nrk") != int32_t(kSamples))
                std::fprintf(stderr, "open failed\n");
        },
        [&] { PlainRead("plain.nrk", samples); });
    bench::Keep(samples[kSamples / 2]);

    Report("SaveFileDataAndConfig 16777216 samples, new", newSave,
           "plain write of the same bytes, new file", newWrite, "save / plain write, new file");
    Report("SaveFileDataAndConfig 16777216 samples, over", replacingSave,
           "plain write of the same bytes, over old file", replacingWrite,
           "save / plain write, over an existing file");
    Report("OpenFileDataAndConfig 16777216 samples", open, "plain read of the same bytes", read,
           "open / plain read");

    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    DeleteBuffer(samples);
    return 0;
}
