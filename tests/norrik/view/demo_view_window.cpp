// Shows the main window after a demo capture at the Zoom All setting, for a look at the view
// (and a screenshot) without the acquisition controls. Closes itself after the given number of
// milliseconds (default: stays open).
#include "form1.h"
#include "podcore_api.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::string error;
    if (!norrik::LoadPodcore({PODCORE_LIBRARY}, norrik::Podcore(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    norrik::Form1 window;
    window.Form_Load();
    norrik::Podcore().DemoData();
    window.ZoomAllSetting();
    window.RedrawWaveforms();
    window.move(0, 0);
    window.show();
    if (argc > 1)
        QTimer::singleShot(std::atoi(argv[1]), &application, &QApplication::quit);
    return QApplication::exec();
}
