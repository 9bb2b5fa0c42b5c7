// The redraw of the waveform view: the library reduces the visible window to column levels once,
// each row is run-length encoded and drawn, then the time scale, the trigger and cursor marks
// and the overview. Each surface is drawn into its own picture and shown on the next paint.
#include "form1.h"
#include "number_text.h"
#include "podcore_api.h"
#include "view/picture_surface.h"
#include "view/raster.h"
#include "view/row_drawing.h"
#include "view/sample_time.h"
#include "view/view_geometry.h"

#include <QRadioButton>

#include <algorithm>

namespace norrik {
namespace {

constexpr QRgb kOverviewBox = 0xFF808080;
constexpr QRgb kBlack = 0xFF000000;

constexpr size_t kRunListWords = 2001;
constexpr uint8_t kNoSingleLevel = 2;

QRgb Opaque(int32_t colour) {
    return 0xFF000000u | static_cast<QRgb>(colour & 0xFFFFFF);
}

} // namespace

void Form1::RedrawWaveforms() {
    state_.HoverMarkShown = false;
    ReadZoomSetting();
    const int columns = RowWidth();
    CenterCheck(state_, columns);

    for (std::vector<uint8_t>& levels : ColumnLevels)
        levels.resize(static_cast<size_t>(columns));
    if (state_.SampleBuffer != nullptr) {
        auto out = [this](int bit) { return ColumnLevels[static_cast<size_t>(bit)].data(); };
        Podcore().ScaleDataToScreen(
            state_.SampleBuffer, out(0), out(1), out(2), out(3), out(4), out(5), out(6), out(7),
            out(8), out(9), out(10), out(11), out(12), out(13), out(14), out(15), out(16),
            out(17), out(18), out(19), out(20), state_.ScreenStart,
            static_cast<uint32_t>(columns), static_cast<uint32_t>(state_.Scale),
            static_cast<uint32_t>(state_.SubScale));
    } else {
        // Without a buffer of ours there is nothing to reduce: no column holds data.
        for (std::vector<uint8_t>& levels : ColumnLevels)
            std::fill(levels.begin(), levels.end(), kNoSingleLevel);
    }

    for (PictureSurface* wave : Wave)
        wave->Cls();
    DrawTimeScaleAndReadouts();

    XWindow->Cls();
    stripText_.Write(XWindow->Picture(), 1, 0, StripFont::CursorStrip, kBlack, "Cursors");

    RunList.resize(std::max(kRunListWords, static_cast<size_t>(columns) + 2));
    for (int row = 0; row < kRows; ++row)
        DrawRow(row);

    DrawMarks(ColumnOfSample(state_, state_.TriggerSample), kDarkRed, kRed, "T");
    DrawMarks(ColumnOfSample(state_, state_.OCursor), kDarkGreen, kGreen, "O");
    DrawMarks(ColumnOfSample(state_, state_.XCursor), kDarkBlue, kBlue, "X");

    DrawOverview();

    for (PictureSurface* wave : Wave)
        wave->update();
    TimeScaleStrip->update();
    XWindow->update();
    Overview->update();
    if (onRedrawn)
        onRedrawn();
}

void Form1::DrawRow(int row) {
    const std::vector<uint8_t>& levels = ColumnLevels[static_cast<size_t>(kRowBit[row])];
    Podcore().CreateVectors(levels.data(), RunList.data(), static_cast<uint32_t>(levels.size()));
    QImage& picture = Wave[static_cast<size_t>(row)]->Picture();
    SetTraceColour(picture, Opaque(state_.SignalColors[static_cast<size_t>(row)]));
    DrawRuns(picture, RunList.data(), std::min(levels.size(), RunList.size()));
}

void Form1::DrawMarks(double column, uint8_t wideInk, uint8_t narrowInk, const char* label) {
    if (!(column > 0 && column < RowWidth()))
        return;
    for (PictureSurface* wave : Wave)
        DrawMarkLine(wave->Picture(), column, RowInk(wideInk), RowInk(narrowInk));
    stripText_.Write(XWindow->Picture(), column - 4, 0, StripFont::CursorStrip,
                     RowColourTable()[wideInk], label);
}

void Form1::DrawTimeScaleAndReadouts() {
    ReadZoomSetting();
    const double span = VisibleSpan(state_, RowWidth());
    TimeScaleStrip->Cls();

    const raster::IndexPixels top(Wave[19]->Picture());
    const double division = top.width / 10.0;
    const double height = top.height;
    for (int k = 1; k <= 9; ++k) {
        const double x = k * division;
        if (InternalCLK->isChecked()) {
            const int32_t sample = RoundHalfEvenToInt32(state_.ScreenStart + k * span / 10);
            stripText_.Write(TimeScaleStrip->Picture(), x, 2, StripFont::TimeScale, kBlack,
                             QString::fromStdString(FormatSampleTime(state_, sample)));
        }
        // A small downward triangle at the top edge of the top row, under each time.
        raster::Line<uint8_t>(top, x - 3, 0, x, 3, kBlackInk);
        raster::Line<uint8_t>(top, x + 3, 0, x, 3, kBlackInk);
        raster::Line<uint8_t>(top, x - 3, 0, x + 3, 0, kBlackInk);
        if (k == 5) {
            for (PictureSurface* wave : Wave)
                raster::FillBox<uint8_t>(raster::IndexPixels(wave->Picture()), x, 0.0, x, height,
                                         kLightGrey);
        }
    }
    RefreshReadouts();
}

void Form1::DrawOverview() {
    Overview->Cls();
    // Without a buffer there is nothing to place the view in.
    if (state_.BufferSamples <= 0)
        return;
    const raster::ColourPixels picture(Overview->Picture());
    const double width = picture.width;
    const double height = picture.height;
    const double samples = state_.BufferSamples;
    const double left = state_.ScreenStart / samples * width;
    const double boxWidth = VisibleSpan(state_, RowWidth()) / samples * width;
    raster::FillBox(picture, left, 0.0, left + boxWidth, height, kOverviewBox);
    // The marks in the dark colours of the rows' marks.
    const std::pair<int32_t, RowInk> marks[] = {{state_.TriggerSample, kDarkRed},
                                                {state_.OCursor, kDarkGreen},
                                                {state_.XCursor, kDarkBlue}};
    for (const auto& [sample, ink] : marks) {
        const double x = sample / samples * width;
        raster::FillBox(picture, x, 0.0, x, height, RowColourTable()[ink]);
    }
}

void Form1::Command2_Click() {
    RedrawWaveforms();
}

} // namespace norrik
