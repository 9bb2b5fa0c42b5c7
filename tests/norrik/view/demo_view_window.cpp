// Shows the main window after a demo capture at the Zoom All setting, for a look at the view
// (and a screenshot) without the acquisition controls. Closes itself after the given number of
// milliseconds (default: stays open). Given a file name as well, it places the cursors, measures
// a pulse width under a pointer on P3 and saves a picture of the window there instead.
#include "podcore_api.h"
#include "window_under_test.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
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
    if (argc > 2) {
        norrik::AppState& state = window->State();
        state.HaveCapture = true;
        window->ScaleP->setText(" 2");
        window->ReadZoomSetting();
        window->CenterViewOn(1000);
        state.XCursor = 900;
        state.OCursor = 1200;
        window->RedrawWaveforms();
        window->InstaWidth->setChecked(true);
        window->Wave_MouseMove(3, 0, 200);
        QApplication::processEvents();
        return window->grab().save(argv[2]) ? 0 : 1;
    }
    if (argc > 1)
        QTimer::singleShot(std::atoi(argv[1]), &application, &QApplication::quit);
    return QApplication::exec();
}
