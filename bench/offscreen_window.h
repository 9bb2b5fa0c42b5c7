// The main window off-screen for the view's benchmarks: a settings store of the benchmark's own,
// the library built in the tree bound at run time, and demo captures of any size.
#pragma once

#include "form1.h"
#include "podcore_api.h"

#include <QDir>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <string>

namespace bench {

// Before the application object: keeps the startup's writes away from the user's settings and
// draws off-screen unless a platform was chosen.
inline void PrepareOffscreen(const char* name) {
    const QString config = QDir::temp().filePath(name);
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline bool BindBuiltPodcore() {
    std::string error;
    if (norrik::LoadPodcore({PODCORE_LIBRARY}, norrik::Podcore(), error))
        return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

// Gives the window a new buffer of `samples` demo samples, shown at the Zoom All setting.
inline bool MakeDemoCapture(norrik::Form1& window, uint32_t samples) {
    norrik::PodcoreApi& pod = norrik::Podcore();
    norrik::AppState& state = window.State();
    pod.DeleteBuffer(state.SampleBuffer);
    state.SampleBuffer = pod.MakeBuffer(samples);
    if (state.SampleBuffer == nullptr) {
        std::fprintf(stderr, "cannot allocate %u samples\n", samples);
        return false;
    }
    state.BufferSamples = static_cast<int32_t>(samples);
    pod.DemoData();
    window.ZoomAllSetting();
    return true;
}

} // namespace bench
