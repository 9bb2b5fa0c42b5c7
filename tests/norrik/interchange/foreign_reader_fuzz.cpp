#include "foreign_reader_fuzz.h"

#include "app/acquisition_settings.h"
#include "fuzz_check.h"
#include "interchange/foreign_read.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace norrik::interchange::testing {
namespace {

std::string InputPath(CaptureFormat format) {
    const std::filesystem::path folder =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    return (folder / ("foreign_reader_fuzz." + std::to_string(::getpid()) + "." +
                      std::string(FormatName(format))))
        .string();
}

void ReadChecked(CaptureFormat format, const std::string& path, const ReadOptions& options) {
    double lastShare = 0;
    const ProgressHook progress = [&lastShare](double share) {
        FUZZ_CHECK(share >= 0 && share <= 1);
        lastShare = share;
    };
    ForeignCapture capture;
    std::string error;
    if (ReadForeignFile(format, path, options, progress, capture, error)) {
        FUZZ_CHECK(!capture.samples.empty());
        FUZZ_CHECK(capture.samples.size() <= options.maxSamples);
        FUZZ_CHECK(RateHzOfCode(capture.rateCode).has_value());
        FUZZ_CHECK(!options.rateCode || capture.rateCode == *options.rateCode);
        for (const std::string& note : capture.notes)
            FUZZ_CHECK(!note.empty());
    } else {
        FUZZ_CHECK(!error.empty());
    }
}

} // namespace

int FuzzForeignReader(CaptureFormat format, const uint8_t* data, size_t size) {
    const std::string path = InputPath(format);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // The file's own rate with room to spare, then the fastest rate into a buffer it overflows.
    ReadChecked(format, path, {std::nullopt, 1u << 18});
    ReadChecked(format, path, {uint8_t{247}, 65536});
    std::remove(path.c_str());
    return 0;
}

} // namespace norrik::interchange::testing
