// The two print commands of the main window: the File menu's, with the printer dialog and
// copies, and the Print button's, one copy at once.
#include "form1.h"
#include "message_box.h"
#include "print_window.h"
#include "printer_dialog.h"

#include <QFileInfo>
#include <QPrinter>

namespace norrik {
namespace {

// A file printer would overwrite each copy with the next; number the files instead.
std::function<void(int)> NumberFileCopies(QPrinter& printer, int copies) {
    const QString file = printer.outputFileName();
    if (file.isEmpty() || copies < 2)
        return {};
    const QFileInfo info(file);
    return [&printer, file, info](int copy) {
        printer.setOutputFileName(copy == 1 ? file
                                            : info.path() + "/" + info.completeBaseName() +
                                                  QString("-%1.").arg(copy) + info.suffix());
    };
}

} // namespace

void Form1::PrintMenu_Click() {
    QPrinter printer(QPrinter::HighResolution);
    if (!RunPrinterDialog(printer, this))
        return;
    const int copies = printer.copyCount();
    // Errors after the dialog end the print silently, as a cancel does.
    PrintCopies(printer, this, copies, NumberFileCopies(printer, copies));
}

void Form1::Command17_Click() {
    QPrinter printer(QPrinter::HighResolution);
    if (!PrintWindowImage(printer, this)) {
        ShowMessage(this, {"Tarnwick Logic Analyzer",
                           "The window could not be printed. Check that a printer is installed "
                           "and available.",
                           QMessageBox::Warning, QMessageBox::Ok});
    }
}

} // namespace norrik
