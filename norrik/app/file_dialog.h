// The file dialog of Save As and Open, behind a seam so that tests can answer it without a modal
// window.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace norrik {

enum class FileDialogKind { Save, Open };

// Shows the dialog, starting at `previousName`; the chosen name, or nothing when cancelled.
using FileDialogRunner =
    std::function<std::optional<QString>(FileDialogKind kind, const QString& previousName)>;

std::optional<QString> AskCaptureFileName(QWidget* parent, FileDialogKind kind,
                                          const QString& previousName);

// Tests install a runner; an empty one restores the real dialog.
void SetFileDialogRunner(FileDialogRunner runner);

} // namespace norrik
