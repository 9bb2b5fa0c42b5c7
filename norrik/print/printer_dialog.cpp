#include "printer_dialog.h"

#include <QPrintDialog>

namespace norrik {
namespace {

PrinterDialogRunner& Runner() {
    static PrinterDialogRunner runner;
    return runner;
}

} // namespace

bool RunPrinterDialog(QPrinter& printer, QWidget* parent) {
    if (Runner())
        return Runner()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void SetPrinterDialogRunner(PrinterDialogRunner runner) {
    Runner() = std::move(runner);
}

} // namespace norrik
