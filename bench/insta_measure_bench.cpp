// One insta-measure mouse move over the rows of a 16,777,216-sample capture, full redraw
// included, against RedrawWaveforms alone in the same run. Target: a move within a 60 Hz frame,
// also over a line that never changes, where the edge searches read the whole capture.
#include "form1.h"
#include "harness.h"
#include "offscreen_window.h"
#include "quiet_stdout.h"

#include <QApplication>
#include <QRadioButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kFrameSeconds = 1.0 / 60;
constexpr uint32_t kSamples = 16'777'216;

using bench::QuietStdout;

// Median seconds of one move, the pointer visiting the given rows across the row width.
double MoveSeconds(norrik::Form1& window, const std::vector<int>& rows) {
    std::vector<double> times;
    for (int round = 0; round < 3; ++round) {
        for (const int row : rows) {
            for (int x = 5; x < window.RowWidth(); x += 64) {
                const auto move = [&] { window.Wave_MouseMove(row, 0, x); };
                times.push_back(bench::MedianSeconds(1, move));
            }
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double RedrawSeconds(norrik::Form1& window) {
    return bench::MedianSeconds(101, [&] { window.RedrawWaveforms(); });
}

bool Report(const char* what, double move, double redraw) {
    char name[96];
    std::snprintf(name, sizeof name, "insta-measure move, %s", what);
    bench::Figure(name, move * 1e3, "ms");
    std::snprintf(name, sizeof name, "redraw alone, %s", what);
    bench::Figure(name, redraw * 1e3, "ms");
    std::snprintf(name, sizeof name, "move / redraw, %s", what);
    bench::Figure(name, move / redraw, "ratio");
    std::snprintf(name, sizeof name, "move / 60 Hz frame, %s", what);
    return bench::Ratio(name, move / kFrameSeconds, 1.0, false);
}

} // namespace

int main(int argc, char* argv[]) {
    bench::PrepareOffscreen("bench_insta_measure");
    QApplication application(argc, argv);
    if (!bench::BindBuiltPodcore())
        return 1;
    norrik::Form1 window;
    norrik::AppState& state = window.State();
    bool met = true;
    {
        QuietStdout quiet;
        window.Form_Load();
        if (!bench::MakeDemoCapture(window, kSamples))
            return 1;
        state.HaveCapture = true;
        window.RedrawWaveforms(); // the library's summary of the new samples, once
        window.InstaWidth->setChecked(true);
    }
    std::vector<int> everyRow;
    for (int row = 0; row < norrik::kRows; ++row)
        everyRow.push_back(row);
    {
        double move = 0;
        double redraw = 0;
        {
            QuietStdout quiet;
            move = MoveSeconds(window, everyRow);
            redraw = RedrawSeconds(window);
        }
        met = Report("demo capture, all rows", move, redraw) && met;
    }
    {
        // P15 held low over the whole capture: each move scans all of it for edges.
        for (uint32_t k = 0; k < kSamples; ++k)
            state.SampleBuffer[k] &= ~(1u << 15);
        double move = 0;
        double redraw = 0;
        {
            QuietStdout quiet;
            move = MoveSeconds(window, {15});
            redraw = RedrawSeconds(window);
        }
        met = Report("a line that never changes", move, redraw) && met;
    }
    return met ? 0 : 1;
}
