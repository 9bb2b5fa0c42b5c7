// The mouse on the view: on a row a click zooms about the pointer and a held drag pans, with the
// insta-measure on every move; on the cursor strip a click places X (left) or O (other buttons)
// and an inverted line follows the pointer; on the overview a click or drag centres the view.
#include "form1.h"
#include "number_text.h"
#include "view/picture_surface.h"
#include "view/row_drawing.h"
#include "view/view_geometry.h"

#include <cmath>

namespace norrik {
namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// A held mouse pans once it has moved the view by this many samples.
constexpr double kDragSamples = 2;

} // namespace

void Form1::ConnectViewMouse() {
    for (int row = 0; row < kRows; ++row) {
        PictureSurface* wave = Wave[static_cast<size_t>(row)];
        wave->onMouseDown = [this, row](int button, double x) { Wave_MouseDown(row, button, x); };
        wave->TrackMouse([this, row](int button, double x) { Wave_MouseMove(row, button, x); });
        wave->onMouseUp = [this, row](int button, double x) { Wave_MouseUp(row, button, x); };
    }
    XWindow->onMouseDown = [this](int button, double x) { XWindow_MouseDown(button, x); };
    XWindow->TrackMouse([this](int button, double x) { XWindow_MouseMove(button, x); });
    Overview->onMouseDown = [this](int button, double x) { Overview_MouseDown(button, x); };
    Overview->onMouseMove = [this](int button, double x) { Overview_MouseMove(button, x); };
    Overview->onMouseUp = [this](int button, double x) { Overview_MouseUp(button, x); };
}

void Form1::Wave_MouseDown(int, int, double x) {
    state_.WaveMouseDown = true;
    state_.WaveDragged = false;
    state_.WaveDownX = static_cast<float>(x);
}

void Form1::Wave_MouseMove(int row, int, double x) {
    if (!state_.HaveCapture)
        return;
    InstaMeasure(row, x);
    if (!state_.WaveMouseDown)
        return;
    // The content follows the pointer: dragging to the left shows later samples.
    const double d = SamplesOfColumns(state_, state_.WaveDownX - x);
    if (std::fabs(d) < kDragSamples)
        return;
    state_.WaveDragged = true;
    CenterViewOn(RoundHalfEvenToInt32(state_.CenterSample + d));
    state_.WaveDownX = static_cast<float>(x);
    RedrawWaveforms();
}

void Form1::Wave_MouseUp(int, int button, double x) {
    state_.WaveMouseDown = false;
    if (state_.WaveDragged)
        return;
    if (button & kLeftButton)
        ZoomInAtColumn(x);
    else if (!(button & kMiddleButton) && (button & kRightButton))
        ZoomOutAtColumn(x);
}

bool Form1::ZoomInAtColumn(double x) {
    const int32_t c = SampleAtColumn(state_, x);
    ReadZoomSetting();
    if (!ZoomInAllowed())
        return false;
    ZoomInStep();
    ZoomKeepingSampleAt(c, x);
    return true;
}

bool Form1::ZoomOutAtColumn(double x) {
    ReadZoomSetting();
    if (!ZoomOutAllowed())
        return false;
    const int32_t c = SampleAtColumn(state_, x);
    ZoomOutStep();
    ZoomKeepingSampleAt(c, x);
    return true;
}

void Form1::ZoomKeepingSampleAt(int32_t c, double x) {
    ReadZoomSetting();
    state_.ScreenStart = StartKeepingSampleAt(state_, c, x);
    RedrawWaveforms();
}

void Form1::XWindow_MouseDown(int button, double x) {
    const int32_t s = SampleAtColumn(state_, x);
    if (button & kLeftButton)
        state_.XCursor = s;
    else
        state_.OCursor = s;
    RedrawWaveforms();
}

void Form1::XWindow_MouseMove(int, double x) {
    const auto invertAt = [this](int column) {
        for (PictureSurface* wave : Wave) {
            InvertColumn(wave->Picture(), column);
            wave->update();
        }
    };
    // Inverting the previous line again removes it.
    if (state_.HoverMarkShown)
        invertAt(state_.HoverMarkX);
    state_.HoverMarkX = RoundHalfEvenToInt32(x);
    invertAt(state_.HoverMarkX);
    state_.HoverMarkShown = true;
}

void Form1::Overview_MouseDown(int, double x) {
    const double width = Overview->ScaleWidth();
    CenterViewOn(RoundHalfEvenToInt32(x / width * state_.BufferSamples));
    RedrawWaveforms();
    state_.OverviewMouseDown = true;
}

void Form1::Overview_MouseMove(int button, double x) {
    if (state_.OverviewMouseDown)
        Overview_MouseDown(button, x);
}

void Form1::Overview_MouseUp(int, double) {
    state_.OverviewMouseDown = false;
}

} // namespace norrik
