// SIGINT and SIGTERM end the program as closing its main window does.
#pragma once

class QWidget;

namespace norrik {

// From now on either signal closes `window` from its event loop (the handler itself only
// writes a byte to a pipe, the one thing a signal handler may safely do here).
void CloseOnTerminationSignals(QWidget* window);

} // namespace norrik
