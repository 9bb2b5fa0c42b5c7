#include "file_dialog.h"

#include <QFileDialog>

namespace norrik {
namespace {

FileDialogRunner& InstalledRunner() {
    static FileDialogRunner runner;
    return runner;
}

// "*.*" would hide every name without a dot here, so "All Files" matches every name.
const QString kAllFiles = "All Files (*)";
const QString kCaptureFiles = "Capture Files (*.nrk)";

} // namespace

std::optional<QString> AskCaptureFileName(QWidget* parent, FileDialogKind kind,
                                          const QString& previousName) {
    if (InstalledRunner())
        return InstalledRunner()(kind, previousName);

    const bool saving = kind == FileDialogKind::Save;
    QFileDialog dialog(parent, saving ? "Save As" : "Open");
    dialog.setNameFilters({kAllFiles, kCaptureFiles});
    dialog.selectNameFilter(kCaptureFiles);
    // Saving asks before overwriting and needs an existing folder; opening needs an existing
    // file. A name typed without an extension gets the capture extension, so that the capture
    // filter finds the file again.
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (saving)
        dialog.setDefaultSuffix("nrk");
    if (!previousName.isEmpty())
        dialog.selectFile(previousName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void SetFileDialogRunner(FileDialogRunner runner) {
    InstalledRunner() = std::move(runner);
}

} // namespace norrik
