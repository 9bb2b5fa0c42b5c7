// The wheel and the keys on the view. They act through the zoom, scroll and centring commands,
// so they reach no view those commands cannot reach, and the menus keep no shortcuts.
#include "form1.h"
#include "view/picture_surface.h"
#include "view/scroll_steps.h"

#include <algorithm>
#include <cstdlib>

namespace norrik {
namespace {

// More notches in one turn than any wheel sends; beyond them a scroll would only overflow.
constexpr int kMostNotches = 1000;

// The row that takes the focus for the whole waveform.
constexpr int kFocusRow = kRows - 1;

ScrollDirection DirectionOf(int notches) {
    return notches > 0 ? ScrollDirection::Left : ScrollDirection::Right;
}

} // namespace

void Form1::ConnectWheelAndKeys() {
    for (int row = 0; row < kRows; ++row) {
        PictureSurface* wave = Wave[static_cast<size_t>(row)];
        // A click gives the focus; the rows stay out of the tab order.
        wave->setFocusPolicy(Qt::ClickFocus);
        wave->onWheel = [this, row](QPoint angleDelta, Qt::KeyboardModifiers modifiers, double x) {
            Wave_MouseWheel(row, angleDelta, modifiers, x);
        };
        wave->onKeyPress = [this](int key, Qt::KeyboardModifiers modifiers) {
            return Wave_KeyDown(key, modifiers);
        };
    }
    Overview->onWheel = [this](QPoint angleDelta, Qt::KeyboardModifiers modifiers, double) {
        Overview_MouseWheel(angleDelta, modifiers);
    };
}

void Form1::FocusWaveform() {
    Wave[kFocusRow]->setFocus(Qt::OtherFocusReason);
}

void Form1::Wave_MouseWheel(int, QPoint angleDelta, Qt::KeyboardModifiers modifiers, double x) {
    FocusWaveform();
    // Shift makes the wheel scroll, as a sideways wheel or swipe does.
    const bool scrollOnly = modifiers & Qt::ShiftModifier;
    const int zoomNotches = scrollOnly ? 0 : zoomWheel_.Add(angleDelta.y());
    const int scrollNotches = scrollWheel_.Add(angleDelta.x() + (scrollOnly ? angleDelta.y() : 0));
    // Away from the user zooms in; a refused step ends the turn, as at the zoom's limits.
    for (int step = 0; step < std::abs(zoomNotches); ++step) {
        if (!(zoomNotches > 0 ? ZoomInAtColumn(x) : ZoomOutAtColumn(x)))
            break;
    }
    ScrollNotches(scrollNotches);
}

void Form1::Overview_MouseWheel(QPoint angleDelta, Qt::KeyboardModifiers) {
    ScrollNotches(overviewWheel_.Add(angleDelta.y() + angleDelta.x()));
}

// Each notch is one press of a scroll button.
void Form1::ScrollNotches(int notches) {
    if (notches == 0)
        return;
    ScrollBy(DirectionOf(notches), kFirstScrollStep * std::min(std::abs(notches), kMostNotches));
}

void Form1::ScrollOneScreen(ScrollDirection direction) {
    if (const std::optional<int32_t> start = ScreenScrolledStart(state_, direction, RowWidth()))
        state_.ScreenStart = *start;
    RedrawWaveforms();
}

bool Form1::Wave_KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    // Keys with Control, Alt or Meta belong to the window and the desktop.
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const bool wholeScreen = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Left:
        wholeScreen ? ScrollOneScreen(ScrollDirection::Left) : mleft_Click();
        return true;
    case Qt::Key_Right:
        wholeScreen ? ScrollOneScreen(ScrollDirection::Right) : mright_Click();
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal: // the plus key without Shift
        Command3_Click();
        return true;
    case Qt::Key_Minus:
        Command4_Click();
        return true;
    case Qt::Key_Home:
        CenterAndRedraw(0);
        return true;
    case Qt::Key_End:
        CenterAndRedraw(std::max(state_.BufferSamples - 1, 0));
        return true;
    case Qt::Key_T:
        Command9_Click();
        return true;
    case Qt::Key_X:
        Command7_Click();
        return true;
    case Qt::Key_O:
        Command8_Click();
        return true;
    default:
        return false;
    }
}

} // namespace norrik
