// The main window. Its handlers are spread over files by what they do (startup, setting lists,
// module picture); this header is the one place that lists the window's controls.
#pragma once

#include "app_state.h"

#include <QMainWindow>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace norrik {

class ClickablePicture;
class DiagnosticLog;

class Form1 : public QMainWindow {
public:
    Form1();

    AppState& State() { return state_; }

    // Startup and ending.
    void Form_Load();
    void InitializeSystem();
    void ExitMenu_Click();

    // Rate, buffer size and pod selection.
    void RefreshSettingLists();
    void RateList_Click();
    void SizeList_Click();
    void PodList_Click();

    // Module picture.
    void TW2Image_Click(int index);

    // Help and About.
    static QString HelpFilePath();
    void Command20_Click();
    void NorrikHelp_Click();
    void NorrikAbout_Click();

    // Printing.
    void PrintMenu_Click();
    void Command17_Click();

    // Selecting an entry from code runs the list's handler exactly as a user's choice does.
    static void SelectEntry(QComboBox* list, int index);

    // Controls, named as the window's controls are known.
    QWidget* client = nullptr;
    QLabel* background = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Status = nullptr;
    QProgressBar* Progress = nullptr;
    QComboBox* SizeList = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QScrollBar* TriggerPositionScroll = nullptr;
    QComboBox* RateList = nullptr;
    QComboBox* PodList = nullptr;
    QLabel* Label4 = nullptr;
    QRadioButton* InternalCLK = nullptr;
    QRadioButton* ExternalCLK = nullptr;
    ClickablePicture* CLKEdge = nullptr;
    ClickablePicture* TRIGValid = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QPushButton* Command20 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QPushButton* Command18 = nullptr;
    QPushButton* Command17 = nullptr;
    QPushButton* Command16 = nullptr;
    QLabel* Light = nullptr;
    QLabel* DemoOn = nullptr;
    std::array<ClickablePicture*, 7> TW2Image{};
    DiagnosticLog* Output = nullptr;

private:
    void CreateControls();
    void CreateAcquisitionControls();
    void CreateMenus();
    void ShowPodReady(bool ready);

    AppState state_;
};

} // namespace norrik
