// The printer dialog, behind a seam so that tests can answer it without a modal window.
#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace norrik {

// Shows the printer dialog for `printer`; false when the user cancels.
using PrinterDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;

bool RunPrinterDialog(QPrinter& printer, QWidget* parent);

// Tests install a runner; an empty one restores the real dialog.
void SetPrinterDialogRunner(PrinterDialogRunner runner);

} // namespace norrik
