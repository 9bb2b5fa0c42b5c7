// Shows the main window after a demo capture at the Zoom All setting, for a look at the view
// (and a screenshot) without the acquisition controls. Closes itself after the given number of
// milliseconds (default: stays open).
#include "podcore_api.h"
#include "window_under_test.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::string error;
    if (!norrik::BindBuiltPodcore(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto window = norrik::StartedWindow();
    norrik::Podcore().DemoData();
    window->ZoomAllSetting();
    window->RedrawWaveforms();
    window->move(0, 0);
    window->show();
    if (argc > 1)
        QTimer::singleShot(std::atoi(argv[1]), &application, &QApplication::quit);
    return QApplication::exec();
}
