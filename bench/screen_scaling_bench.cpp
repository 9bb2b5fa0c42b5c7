// The Zoom All reduction of the view (start 10 % of the buffer before sample 0, 649 columns,
// 1.2 x the buffer across them) over demo buffers of 2^20, 2^24 and 2^28 samples: through the
// summary, by direct scan, and against a plain AND/OR read of the same samples.
#include "analysis/column_layout.h"
#include "analysis/screen_scaling.h"
#include "analysis/summary_cache.h"
#include "exports/podcore.h"
#include "harness.h"
#include "plain_read.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace podcore::analysis;

constexpr uint32_t kColumns = 649;

struct Rows {
    std::array<std::vector<uint8_t>, kSignalBits> rows;
    ColumnOutputs outputs{};
    Rows() {
        for (int b = 0; b < kSignalBits; ++b) {
            rows[b].assign(kColumns, 0);
            outputs[b] = rows[b].data();
        }
    }
};

// The view's six diagnostic lines go to /dev/null while the export is timed.
template <typename Work>
double MedianSecondsWithoutStdout(int repeats, Work&& work) {
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    const int sink = open("/dev/null", O_WRONLY);
    dup2(sink, STDOUT_FILENO);
    const double seconds = bench::MedianSeconds(repeats, work);
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(sink);
    close(saved);
    return seconds;
}

// Returns the time of the summary-backed reduction, or a negative value on failure.
double MeasureSize(uint32_t samples) {
    uint32_t* buffer = MakeBuffer(samples);
    if (buffer == nullptr) {
        std::fprintf(stderr, "cannot allocate %u samples\n", samples);
        return -1;
    }
    DemoData();
    const ScreenWindow window{-static_cast<int32_t>(samples / 10), kColumns,
                              static_cast<uint32_t>(std::lround(1.2 * samples / kColumns)), 0};
    const ColumnLayout layout = LayOutColumns(window, samples);
    const uint32_t* firstRead = buffer + layout.first;
    const size_t readCount = size_t{layout.end - layout.lead} * window.scale;

    // The first summary of a buffer lands in fresh memory; a later write to the same buffer
    // (a capture, a file) is summarised again in place.
    BufferSummary built;
    const double build = bench::MedianSeconds(1, [&] { built.Build(buffer, samples); });
    const double rebuild = bench::MedianSeconds(1, [&] { built.Build(buffer, samples); });
    const BufferSummary* summary = &built;
    Rows viaSummary;
    Rows direct;
    Rows viaExport;
    const double summarised = bench::MedianSeconds(21, [&] {
        ReduceToColumns(buffer, samples, summary, viaSummary.outputs, window);
    });
    const double scanned = bench::MedianSeconds(5, [&] {
        ReduceToColumns(buffer, samples, nullptr, direct.outputs, window);
    });
    const double exported = MedianSecondsWithoutStdout(21, [&] {
        const ColumnOutputs& o = viaExport.outputs;
        ScaleDataToScreen(buffer, o[0], o[1], o[2], o[3], o[4], o[5], o[6], o[7], o[8], o[9],
                          o[10], o[11], o[12], o[13], o[14], o[15], o[16], o[17], o[18], o[19],
                          o[20], window.start, kColumns, window.scale, 0);
    });
    const double plain =
        bench::MedianSeconds(5, [&] { bench::PlainAndOrRead(firstRead, readCount); });
    const bool identical = viaSummary.rows == direct.rows && viaExport.rows == direct.rows;
    const size_t summaryBytes = summary != nullptr ? summary->MemoryBytes() : 0;

    DeleteBuffer(buffer);
    SummaryOfLibraryBuffer(); // with no buffer, the summary's memory goes too

    char name[96];
    std::printf("-- %u samples, scale %u, %u data columns, %zu samples read\n", samples,
                window.scale, layout.end - layout.lead, readCount);
    bench::Figure("first summary of the buffer (fresh memory)", build * 1e3, "ms");
    bench::Figure("summary rebuilt after a write", rebuild * 1e3, "ms");
    bench::Figure("summary memory / buffer memory", 100.0 * summaryBytes / (4.0 * samples), "%");
    bench::Figure("reduction with the summary", summarised * 1e6, "us");
    bench::Figure("export with the summary (incl. 6 lines)", exported * 1e6, "us");
    bench::Figure("reduction by direct scan", scanned * 1e3, "ms");
    bench::Figure("plain AND/OR read of the same samples", plain * 1e3, "ms");
    std::snprintf(name, sizeof name, "direct scan speed / plain read (%u)", samples);
    bench::Ratio(name, plain / scanned, 0.5);
    std::snprintf(name, sizeof name, "summary speed-up over plain read (%u)", samples);
    bench::Ratio(name, plain / summarised, 1.0);
    if (!identical) {
        std::printf("MISMATCH: summary and direct scan differ\n");
        return -1;
    }
    return summarised;
}

} // namespace

int main() {
    const double small = MeasureSize(1u << 20);
    const double medium = MeasureSize(1u << 24);
    const double large = MeasureSize(1u << 28);
    if (small <= 0 || medium <= 0 || large <= 0)
        return 1;
    std::printf("--\n");
    bench::Ratio("summary reduction 2^24 / 2^20 samples", medium / small, 3.0, false);
    bench::Ratio("summary reduction 2^28 / 2^20 samples", large / small, 3.0, false);
    return 0;
}
