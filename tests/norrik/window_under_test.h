// The main window as the program starts it, with the built library bound at run time and a
// settings store of the test's own.
#pragma once

#include "form1.h"
#include "podcore_api.h"

#include <QTemporaryDir>
#include <QtGlobal>

#include <memory>
#include <string>

namespace norrik {

// Points the settings store at a fresh folder and binds the library built beside the tests;
// says why not in `error`.
inline bool BindBuiltPodcore(std::string& error) {
    static QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    return LoadPodcore({PODCORE_LIBRARY}, Podcore(), error);
}

// A window after its load event (startup in demo mode).
inline std::unique_ptr<Form1> StartedWindow() {
    auto window = std::make_unique<Form1>();
    window->Form_Load();
    return window;
}

} // namespace norrik
