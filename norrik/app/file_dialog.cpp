#include "file_dialog.h"

#include <QFileDialog>

#include <array>

namespace norrik {
namespace {

using interchange::CaptureFormat;

FileDialogRunner& InstalledRunner() {
    static FileDialogRunner runner;
    return runner;
}

struct Filter {
    const char* text;
    std::optional<CaptureFormat> format;
};

// "*.*" would hide every name without a dot here, so "All Files" matches every name. The
// capture files stay the filter both dialogs start with.
const Filter kAllFiles = {"All Files (*)", std::nullopt};
const Filter kCaptureFiles = {"Capture Files (*.nrk)", CaptureFormat::Nrk};
const std::array<Filter, 3> kForeignFilters = {{
    {"Sigrok Session Files (*.sr)", CaptureFormat::Sr},
    {"Value Change Dumps (*.vcd)", CaptureFormat::Vcd},
    {"CSV Tables (*.csv)", CaptureFormat::Csv},
}};
// Open tells a file's format by its content, so one filter may show them all.
const Filter kAnyCapture = {"All Capture Formats (*.nrk *.sr *.vcd *.csv)", std::nullopt};

} // namespace

std::optional<ChosenFile> AskCaptureFileName(QWidget* parent, FileDialogKind kind,
                                             const QString& previousName) {
    if (InstalledRunner())
        return InstalledRunner()(kind, previousName);

    const bool saving = kind == FileDialogKind::Save;
    std::vector<Filter> filters = {kAllFiles, kCaptureFiles};
    filters.insert(filters.end(), kForeignFilters.begin(), kForeignFilters.end());
    if (!saving)
        filters.push_back(kAnyCapture);
    QStringList texts;
    for (const Filter& filter : filters)
        texts << filter.text;
    const auto formatOf = [&filters](const QString& text) {
        for (const Filter& filter : filters) {
            if (text == filter.text)
                return filter.format;
        }
        return std::optional<CaptureFormat>();
    };

    QFileDialog dialog(parent, saving ? "Save As" : "Open");
    dialog.setNameFilters(texts);
    dialog.selectNameFilter(kCaptureFiles.text);
    // Saving asks before overwriting and needs an existing folder; opening needs an existing
    // file. A name typed without an extension gets the chosen filter's, so that the filter finds
    // the file again.
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (saving) {
        dialog.setDefaultSuffix("nrk");
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, formatOf](const QString& text) {
                             const auto format = formatOf(text);
                             dialog.setDefaultSuffix(QString::fromUtf8(
                                 interchange::FormatName(format.value_or(CaptureFormat::Nrk))));
                         });
    }
    if (!previousName.isEmpty())
        dialog.selectFile(previousName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ChosenFile{dialog.selectedFiles().first(), formatOf(dialog.selectedNameFilter())};
}

void SetFileDialogRunner(FileDialogRunner runner) {
    InstalledRunner() = std::move(runner);
}

} // namespace norrik
