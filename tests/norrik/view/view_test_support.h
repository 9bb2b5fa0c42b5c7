// What the view's window tests share: the pixels of a surface's picture, and a started window
// over the library's demo samples.
#pragma once

#include "form1.h"
#include "podcore_api.h"
#include "view/picture_surface.h"
#include "window_under_test.h"

#include <QLineEdit>

#include <memory>

namespace norrik {

// The layout pixel (x, y) as the picture holds it, without alpha: on a high-density screen the
// first device pixel of its block.
inline QRgb Pixel(const PictureSurface* surface, int x, int y) {
    const int resolution = surface->Resolution();
    return surface->Picture().pixel(x * resolution, y * resolution) & 0xFFFFFF;
}

// Whether any pixel of the picture has the colour.
inline bool Holds(const PictureSurface* surface, QRgb colour) {
    const QImage& picture = surface->Picture();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) == colour)
                return true;
    return false;
}

// A window after startup whose demo samples count as a capture.
class DemoCaptureWindow {
protected:
    std::unique_ptr<Form1> window;

    AppState& State() { return window->State(); }

    void StartWithDemoCapture() {
        window = StartedWindow();
        Podcore().DemoData();
        State().HaveCapture = true;
    }

    // A view from `start` at the zoom of the two field texts, redrawn so that its centre is
    // recorded.
    void ShowFrom(int32_t start, const char* scale, const char* subScale) {
        window->ScaleP->setText(scale);
        window->SubScale->setText(subScale);
        State().ScreenStart = start;
        window->RedrawWaveforms();
    }
};

} // namespace norrik
