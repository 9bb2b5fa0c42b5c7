// Opening the help file with the desktop's viewer, and knowing when that failed. Qt's own
// opening reports only whether a launcher could be started; the desktop's launcher (xdg-open)
// says with its exit status whether a viewer took the file, so it is run and watched here.
#pragma once

#include <functional>

class QObject;
class QString;

namespace norrik {

// Hands the file to the desktop's viewer without waiting for it. `noViewer` runs, later, on
// the user-interface thread, when the launcher cannot be started or reports that no viewer
// opened the file; nothing runs when a viewer took it.
void OpenWithDesktopViewer(QObject* owner, const QString& path, std::function<void()> noViewer);

} // namespace norrik
