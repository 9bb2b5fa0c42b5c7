// Zoom In, Zoom Out and Zoom All from the buttons and the View menu, one-step scrolling from the
// menu, the two scroll buttons that repeat faster while held, and centring on X, O or the
// trigger.
#include "form1.h"
#include "view/view_geometry.h"

#include <QAction>
#include <QTimer>

namespace norrik {
namespace {

// Zooming in stops at 128 columns per sample.
constexpr int32_t kFinestSubScaleBeforeStep = 64;

} // namespace

void Form1::ConnectViewMenu() {
    const std::pair<const char*, void (Form1::*)()> items[] = {
        {"zoomin", &Form1::zoomin_Click},   {"zoomout", &Form1::zoomout_Click},
        {"zoomall", &Form1::zoomall_Click}, {"mleft", &Form1::mleft_Click},
        {"mright", &Form1::mright_Click},
    };
    for (const auto& [name, handler] : items)
        connect(findChild<QAction*>(name), &QAction::triggered, this, handler);
}

bool Form1::ZoomInAllowed() const {
    return state_.SubScale <= kFinestSubScaleBeforeStep;
}

// Refused once a column holds more than a row's share of the buffer.
bool Form1::ZoomOutAllowed() const {
    return static_cast<double>(state_.BufferSamples) / RowWidth() >= state_.Scale;
}

// The sample at the centre stays at the centre.
void Form1::ZoomAboutCentre(bool (Form1::*allowed)() const, void (Form1::*step)()) {
    ReadZoomSetting();
    if (!(this->*allowed)())
        return;
    const int32_t c = SampleAtColumn(state_, HalfWidth(RowWidth()));
    (this->*step)();
    ReadZoomSetting();
    CenterAndRedraw(c);
}

void Form1::ZoomIn() {
    ZoomAboutCentre(&Form1::ZoomInAllowed, &Form1::ZoomInStep);
}

void Form1::ZoomOut() {
    ZoomAboutCentre(&Form1::ZoomOutAllowed, &Form1::ZoomOutStep);
}

void Form1::ZoomAll() {
    ZoomAllSetting();
    RedrawWaveforms();
}

void Form1::Command3_Click() {
    ZoomIn();
}

void Form1::Command4_Click() {
    ZoomOut();
}

void Form1::Command5_Click() {
    ZoomAll();
}

void Form1::zoomin_Click() {
    ZoomIn();
}

void Form1::zoomout_Click() {
    ZoomOut();
}

void Form1::zoomall_Click() {
    ZoomAll();
}

void Form1::ScrollOneStep(ScrollDirection direction) {
    ScrollBy(direction, kFirstScrollStep);
}

void Form1::ScrollBy(ScrollDirection direction, int32_t step) {
    if (const std::optional<int32_t> start = ScrolledStart(state_, direction, step))
        state_.ScreenStart = *start;
    RedrawWaveforms();
}

void Form1::mleft_Click() {
    ScrollOneStep(ScrollDirection::Left);
}

void Form1::mright_Click() {
    ScrollOneStep(ScrollDirection::Right);
}

void Form1::StartRepeatingScroll(ScrollDirection direction, QTimer* timer) {
    ScrollOneStep(direction);
    state_.ScrollStep = kFirstScrollStep;
    timer->setInterval(kFirstScrollIntervalMs);
    timer->start();
}

void Form1::RepeatScroll(ScrollDirection direction, QTimer* timer) {
    const std::optional<int32_t> start = ScrolledStart(state_, direction, state_.ScrollStep);
    if (!start)
        return;
    state_.ScreenStart = *start;
    RedrawWaveforms();
    const int interval = NextScrollInterval(timer->interval());
    timer->setInterval(interval);
    state_.ScrollStep = NextScrollStep(state_.ScrollStep, interval);
}

void Form1::ScrollLeft_MouseDown() {
    StartRepeatingScroll(ScrollDirection::Left, ScrollTimerLeft);
}

void Form1::ScrollLeft_MouseUp() {
    ScrollTimerLeft->stop();
}

void Form1::ScrollTimerLeft_Timer() {
    RepeatScroll(ScrollDirection::Left, ScrollTimerLeft);
}

void Form1::ScrollRight_MouseDown() {
    StartRepeatingScroll(ScrollDirection::Right, ScrollTimerRight);
}

void Form1::ScrollRight_MouseUp() {
    ScrollTimerRight->stop();
}

void Form1::ScrollTimerRight_Timer() {
    RepeatScroll(ScrollDirection::Right, ScrollTimerRight);
}

void Form1::CenterAndRedraw(int32_t sample) {
    CenterViewOn(sample);
    RedrawWaveforms();
}

void Form1::Command7_Click() {
    CenterAndRedraw(state_.XCursor);
}

void Form1::Command8_Click() {
    CenterAndRedraw(state_.OCursor);
}

void Form1::Command9_Click() {
    CenterAndRedraw(state_.TriggerSample);
}

} // namespace norrik
