// Help and About: the help text beside the program, opened with the desktop's viewer or, where
// the desktop has none for it, in a window of the program's own; and a short box about the
// program.
#include "form1.h"
#include "help_text_window.h"
#include "help_viewer.h"
#include "message_box.h"

#include <QCoreApplication>
#include <QFile>

namespace norrik {

QString Form1::HelpFilePath() {
    return QCoreApplication::applicationDirPath() + "/norrikhelp.txt";
}

void Form1::Command20_Click() {
    // A missing help file shows nothing: no viewer is started for it.
    if (!QFile::exists(HelpFilePath()))
        return;
    OpenWithDesktopViewer(this, HelpFilePath(), [this] { ShowHelpText(); });
}

void Form1::ShowHelpText() {
    if (HelpText == nullptr)
        HelpText = new HelpTextWindow(this, HelpFilePath());
    HelpText->show();
    HelpText->raise();
    HelpText->activateWindow();
}

void Form1::NorrikHelp_Click() {
    Command20_Click();
}

void Form1::NorrikAbout_Click() {
    ShowMessage(this, {"About the Tarnwick Logic Analyzer",
                       "Tarnwick Logic Analyzer\n"
                       "Twenty-line logic analyzer for the Tarnwick microcontroller modules:\n"
                       "capture, measure, decode serial, 2-wire and SPI traffic, save and print.\n"
                       "\n"
                       "norrik with the podcore pod driver library, Version 1.2.7",
                       QMessageBox::Information, QMessageBox::Ok});
}

} // namespace norrik
