// A decoder run reads the buffer and moves the screen start until it is complete: commands that
// would replace the one or move the other refuse meanwhile, and say why.
#pragma once

class QWidget;

namespace norrik {

struct AppState;

// True, once the user was told, while a decoder runs.
bool RefuseWhileDecoding(QWidget* parent, const AppState& state);

} // namespace norrik
