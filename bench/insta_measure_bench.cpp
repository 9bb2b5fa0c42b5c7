// One insta-measure mouse move over the rows of a 16,777,216-sample capture, full redraw
// included, against RedrawWaveforms alone in the same run. Target: a move within a 60 Hz frame,
// also over a line that never changes. Over such a quiet line in captures of 268,435,456 and
// 1,073,741,824 samples a move must take under 1 ms: the edge searches step over the blocks
// where the line holds still, against a plain scan of the samples for the same edges.
#include "form1.h"
#include "harness.h"
#include "offscreen_window.h"
#include "quiet_stdout.h"
#include "view/sample_summary.h"

#include <QApplication>
#include <QRadioButton>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kFrameSeconds = 1.0 / 60;
constexpr double kQuietMoveTarget = 1e-3;
constexpr uint32_t kSamples = 16'777'216;
constexpr uint32_t kLargeCaptures[] = {268'435'456, 1'073'741'824};
constexpr int kQuietRow = 15; // P15

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

// "label, what": one figure of those measured for each case.
void Figure(const char* label, const char* what, double value, const char* unit) {
    bench::Figure((std::string(label) + ", " + what).c_str(), value, unit);
}

// A move's time, with the redraw alone as the baseline, and its ratio to the target time.
bool Report(const char* what, double move, double redraw, const char* targetLabel,
            double targetSeconds) {
    Figure("insta-measure move", what, move * 1e3, "ms");
    Figure("redraw alone", what, redraw * 1e3, "ms");
    Figure("move / redraw", what, move / redraw, "ratio");
    return bench::Ratio((std::string(targetLabel) + ", " + what).c_str(), move / targetSeconds, 1.0,
                        false);
}

// P15 held low over a whole large capture: the first move summarises the samples, the later
// ones step over the summary's blocks. The baseline is what each move read before: the same two
// edge searches scanning the samples themselves.
bool QuietLineOfLargeCapture(norrik::Form1& window, uint32_t samples) {
    norrik::AppState& state = window.State();
    double first = 0;
    double move = 0;
    double redraw = 0;
    double plain = 0;
    {
        QuietStdout quiet;
        if (!bench::MakeDemoCapture(window, samples))
            return false;
        for (uint32_t k = 0; k < samples; ++k)
            state.SampleBuffer[k] &= ~(1u << kQuietRow);
        window.FinishCapture(); // as a capture that stored these samples ends
        first = bench::MedianSeconds(1, [&] { window.Wave_MouseMove(kQuietRow, 0, 300); });
        move = MoveSeconds(window, {kQuietRow});
        redraw = RedrawSeconds(window);
        const auto unsummarised = norrik::SampleSummary::Blank(norrik::CaptureSamples(state));
        const norrik::SampleStep high{1u << kQuietRow, 1u << kQuietRow};
        plain = bench::MedianSeconds(3, [&] {
            bench::Keep(norrik::SearchStepBackward(unsummarised, high, samples / 2 + 1));
            bench::Keep(norrik::SearchStepForward(unsummarised, high, samples / 2));
        });
    }
    char what[64];
    std::snprintf(what, sizeof what, "quiet line, %u samples", samples);
    Figure("first move (summary made)", what, first * 1e3, "ms");
    Figure("plain scan for the edges", what, plain * 1e3, "ms");
    Figure("plain scan / move", what, plain / move, "ratio");
    return Report(what, move, redraw, "move / 1 ms", kQuietMoveTarget);
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
        met = Report("demo capture, all rows", move, redraw, "move / 60 Hz frame", kFrameSeconds) &&
              met;
    }
    {
        // P15 held low over the whole capture: no edge anywhere to find.
        for (uint32_t k = 0; k < kSamples; ++k)
            state.SampleBuffer[k] &= ~(1u << 15);
        {
            QuietStdout quiet;
            window.FinishCapture(); // as a capture that stored these samples ends
        }
        double move = 0;
        double redraw = 0;
        {
            QuietStdout quiet;
            move = MoveSeconds(window, {15});
            redraw = RedrawSeconds(window);
        }
        met = Report("a line that never changes", move, redraw, "move / 60 Hz frame",
                     kFrameSeconds) &&
              met;
    }
    for (const uint32_t samples : kLargeCaptures)
        met = QuietLineOfLargeCapture(window, samples) && met;
    return met ? 0 : 1;
}
