#include "norrik_main.h"

#include "form1.h"
#include "message_box.h"
#include "podcore_api.h"
#include "termination_signals.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace norrik {

int RunNorrik(const std::vector<std::string>& libraryCandidates) {
    std::string error;
    if (!LoadPodcore(libraryCandidates, Podcore(), error)) {
        std::fprintf(stderr, "norrik: %s\n", error.c_str());
        ShowMessage(nullptr, {"Tarnwick Logic Analyzer", QString::fromStdString(error),
                              QMessageBox::Critical, QMessageBox::Ok});
        return 1;
    }
    Form1 window;
    CloseOnTerminationSignals(&window);
    window.Form_Load();
    window.show();
    // `norrik FILE` opens a capture of any format once the window is up; options such as
    // --virtual-pod are not file names.
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const QString& argument : arguments) {
        if (!argument.startsWith('-')) {
            QTimer::singleShot(0, &window,
                               [&window, argument] { window.OpenCaptureNamed(argument); });
            break;
        }
    }
    return QApplication::exec();
}

} // namespace norrik
