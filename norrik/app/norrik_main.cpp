#include "norrik_main.h"

#include "form1.h"
#include "message_box.h"
#include "podcore_api.h"
#include "termination_signals.h"

#include <QApplication>

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
    return QApplication::exec();
}

} // namespace norrik
