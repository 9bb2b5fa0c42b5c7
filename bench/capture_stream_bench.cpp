// Streaming through the exports from the virtual pod on this machine: the rate SpeedTest finds,
// whether that rate then streams 30 seconds with no break, and the CPU time per second of
// streaming at it (the whole process: both streaming threads and the virtual pod's own work).
// Baseline: the CPU time of copying the same bytes per second with memcpy.
#include "exports/podcore.h"
#include "harness.h"
#include "usb/driver.h"
#include "usb/sim/sim_driver.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int kStreamSeconds = 30;
constexpr uint32_t kRing = 65536;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double MegaSamples(int rateCode) {
    const int divisors[] = {47, 23, 15, 11, 7, 5, 3, 2, 1};
    const int codes[] = {17, 27, 37, 47, 67, 87, 127, 167, 247};
    for (int i = 0; i < 9; ++i)
        if (codes[i] == rateCode)
            return 48.0 / (divisors[i] + 1);
    return 0;
}

// Streams at the rate like TestIt, for longer; returns the status byte at the end.
int StreamFor(int rateCode, int seconds, double& cpuPerSecond) {
    if (StartCapture(rateCode, 2, nullptr, -1, nullptr, kRing, 32768) != 1)
        return -1;
    const double cpuBefore = CpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu = CpuSeconds() - cpuBefore;
    const int status = SingleCaptureStatus();
    StopCapture();
    cpuPerSecond = cpu / seconds;
    return status;
}

} // namespace

int main() {
    podcore::usb::InstallDriver(podcore::usb::sim::MakeSimDriver("1"));
    if (InitializeKTLAPod(1) != 1 || MakeBuffer(kRing) == nullptr) {
        std::fprintf(stderr, "the virtual pod did not open\n");
        return 1;
    }
    // The streams' diagnostics go to standard output; keep them off the figures.
    std::fflush(stdout);
    const int figures = dup(STDOUT_FILENO);
    const int discard = open("/dev/null", O_WRONLY);
    dup2(discard, STDOUT_FILENO);

    int rate = SpeedTest();
    double cpuPerSecond = 0;
    int status = rate == 0 ? -1 : StreamFor(rate, kStreamSeconds, cpuPerSecond);
    const int codes[] = {247, 167, 127, 87, 67, 47, 37, 27, 17};
    for (int i = 0; status != 0 && i < 9; ++i) {
        if (codes[i] >= rate && rate != 0)
            continue;
        rate = codes[i];
        status = StreamFor(rate, kStreamSeconds, cpuPerSecond);
    }

    const double bytesPerSecond = MegaSamples(rate) * 1e6 * 2.5;
    std::vector<uint8_t> from(1 << 20, 1), to(1 << 20);
    const double copySeconds = bench::MedianSeconds(5, [&] {
        for (double copied = 0; copied < bytesPerSecond; copied += to.size()) {
            std::memcpy(to.data(), from.data(), to.size());
            bench::Keep(to[static_cast<size_t>(copied) % to.size()]);
        }
    });

    std::fflush(stdout);
    dup2(figures, STDOUT_FILENO);
    bench::Figure("SpeedTest rate code", rate, "");
    bench::Figure(status == 0 ? "rate streamed 30 s with no break" : "rate (BROKE within 30 s)",
                  MegaSamples(rate), "MS/s");
    bench::Figure("CPU time per second of streaming", cpuPerSecond, "s/s");
    bench::Figure("memcpy CPU for the same bytes per second", copySeconds, "s/s");
    // The baseline for comparing commits; the virtual pod's own work is part of the figure, so
    // no target is set on it.
    bench::Figure("streaming CPU / memcpy CPU", cpuPerSecond / copySeconds, "ratio");
    return status == 0 ? 0 : 1;
}
