// Printing a picture of the active window: what is on the screen is what is printed.
#pragma once

#include <QSize>

#include <functional>

class QPrinter;
class QWidget;

namespace norrik {

// Waits this many milliseconds while the window keeps handling its events.
void DelayMilliseconds(int milliseconds);

// Printed size, in twips, of a window of W x H twips on a page P twips wide: the window's own
// size when it fits, else the page width with the proportions kept.
QSize PrintedSize(int windowWidth, int windowHeight, int pageWidth);

// One print job: a second's wait, the active window's picture put on the clipboard, then printed
// from there at the top-left of the page. `fallback` is printed when no window is active.
// Returns false when nothing could be printed.
bool PrintWindowImage(QPrinter& printer, QWidget* fallback);

// `copies` separate jobs, one after another; `beforeJob(copy)` may set up each job (copy from 1).
bool PrintCopies(QPrinter& printer, QWidget* fallback, int copies,
                 const std::function<void(int)>& beforeJob = {});

} // namespace norrik
