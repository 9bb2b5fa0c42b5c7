// The main window as the program starts it, with the built library bound at run time.
#pragma once

#include "form1.h"
#include "podcore_api.h"

#include <memory>
#include <string>

namespace norrik {

// Binds the library built beside the tests; says why not in `error`.
inline bool BindBuiltPodcore(std::string& error) {
    return LoadPodcore({PODCORE_LIBRARY}, Podcore(), error);
}

// A window after its load event (startup in demo mode).
inline std::unique_ptr<Form1> StartedWindow() {
    auto window = std::make_unique<Form1>();
    window->Form_Load();
    return window;
}

} // namespace norrik
