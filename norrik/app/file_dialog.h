// The file dialog of Save As and Open, behind a seam so that tests can answer it without a modal
// window.
#pragma once

#include "interchange/capture_format.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace norrik {

enum class FileDialogKind { Save, Open };

struct ChosenFile {
    QString name;
    // The format of the filter the file was chosen under; none for the filters of all files.
    std::optional<interchange::CaptureFormat> format;
};

// Shows the dialog, starting at `previousName`; the chosen file, or nothing when cancelled.
using FileDialogRunner =
    std::function<std::optional<ChosenFile>(FileDialogKind kind, const QString& previousName)>;

std::optional<ChosenFile> AskCaptureFileName(QWidget* parent, FileDialogKind kind,
                                             const QString& previousName);

// Tests install a runner; an empty one restores the real dialog.
void SetFileDialogRunner(FileDialogRunner runner);

} // namespace norrik
