// The main window. Its handlers are spread over files by what they do (startup, setting lists,
// module picture, trigger buttons, view controls, waveform rendering); this header is the one
// place that lists the window's controls.
#pragma once

#include "app_state.h"
#include "interchange/capture_format.h"
#include "view/insta_measure.h"
#include "view/sample_summary.h"
#include "view/scroll_steps.h"
#include "view/strip_text.h"
#include "view/wheel_notches.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QColor;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace norrik {

struct CaptureFileFields;
namespace interchange {
struct BufferPlan;
}
class ClickablePicture;
class AcquisitionMeasurementWindow;
class DiagnosticLog;
class HelpTextWindow;
class PictureSurface;
class SerialDecode;
class I2CDecode;
class SPI;

class Form1 : public QMainWindow {
public:
    Form1();

    AppState& State() { return state_; }

    // Startup and ending.
    void Form_Load();
    void InitializeSystem();
    // Closing the window and File > Exit end the process at once.
    void Form_Unload();
    void ExitMenu_Click();

    // Rate, buffer size and pod selection.
    void RefreshSettingLists();
    // Selects the rate list's entry of the current rate code as a user's choice would; false
    // when no entry has it.
    bool SelectCurrentRate();
    void RateList_Click();
    void SizeList_Click();
    void PodList_Click();
    // Label2 names the rate the next capture uses.
    void ShowCaptureRate();
    // Frees the sample buffer and makes one of this many samples (demo mode when that fails).
    void AllocateSampleBuffer(int32_t samples);

    // Clock source and the external clock's picture buttons.
    void InternalCLK_Click();
    void ExternalCLK_Click();
    void CLKEdge_Click();
    void TRIGValid_Click();

    // Acquisition cycle and pod watch.
    void Acquire_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void FinishCapture();
    // A capture is running or being stopped: the library may still write the buffer.
    bool CaptureBusy() const;

    // Signal labels.
    void SignalLabel_Click(int index);

    // Module picture.
    void TW2Image_Click(int index);

    // Trigger buttons.
    void Trig_Click(int index);
    void Command6_Click();
    void RefreshTriggerPictures();

    // The zoom setting held in the fields ScaleP and SubScale, and the view's position.
    void ReadZoomSetting();
    void ZoomInStep();
    void ZoomOutStep();
    void ZoomAllSetting();
    void CenterViewOn(int32_t p);
    int RowWidth() const;

    // Waveform rendering: every surface is drawn into its own picture; painting only shows it.
    void RedrawWaveforms();
    void DrawTimeScaleAndReadouts();
    void DrawOverview();
    void Command2_Click();

    // Cursor read-outs, the time reference and the insta-measure under the pointer.
    void RefreshReadouts();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void InstaOff_Click();
    InstaMode SelectedInstaMode() const;
    void InstaMeasure(int row, double x);

    // The mouse on the rows, the cursor strip and the overview (button bits: left 1, right 2,
    // middle 4; x in the surface's pixels).
    void Wave_MouseDown(int row, int button, double x);
    void Wave_MouseMove(int row, int button, double x);
    void Wave_MouseUp(int row, int button, double x);
    void XWindow_MouseDown(int button, double x);
    void XWindow_MouseMove(int button, double x);
    void Overview_MouseDown(int button, double x);
    void Overview_MouseMove(int button, double x);
    void Overview_MouseUp(int button, double x);

    // The wheel and the keys on the view (angles in eighths of a degree, y away from the user,
    // x to the left). Over the rows the wheel zooms about the pointer and, with Shift or sideways,
    // scrolls; over the overview it scrolls. The keys act while a row has the focus; the end of
    // a capture, an opened file, a wheel turn or a click over the rows give it to them.
    void Wave_MouseWheel(int row, QPoint angleDelta, Qt::KeyboardModifiers modifiers, double x);
    void Overview_MouseWheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers);
    bool Wave_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FocusWaveform();

    // Zoom, scroll, centring and find.
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void zoomin_Click();
    void zoomout_Click();
    void zoomall_Click();
    void mleft_Click();
    void mright_Click();
    void ScrollLeft_MouseDown();
    void ScrollLeft_MouseUp();
    void ScrollTimerLeft_Timer();
    void ScrollRight_MouseDown();
    void ScrollRight_MouseUp();
    void ScrollTimerRight_Timer();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();

    // Help and About.
    static QString HelpFilePath();
    void Command20_Click();
    void NorrikHelp_Click();
    // The help text in the program's own window, when the desktop has no viewer for it.
    void ShowHelpText();
    void NorrikAbout_Click();

    // Saving and opening captures.
    void SaveCapture();
    void OpenCapture();
    // Opens a file of any format without the dialog, as Open does with the name chosen.
    void OpenCaptureNamed(const QString& name);
    // A file is being read or written: nothing else may reach the library.
    bool FileWorkRunning() const;

    // Printing.
    void PrintMenu_Click();
    void Command17_Click();

    // The tool window with the controls outside the visible area; made at its first opening and
    // kept, hidden when closed.
    void AcquisitionMeasurementMenu_Click();

    // Decoder windows: each opens without blocking the window and exists from its first opening
    // until the user closes it.
    void MenuSPI_Click();
    void MenuI2C_Click();
    void MenuSerial_Click();

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

    // Acquisition cycle: its timers and the hidden capture-status text boxes.
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    QLineEdit* Breaks = nullptr;
    QLineEdit* Running = nullptr;
    QLineEdit* Triggered = nullptr;
    QLineEdit* StartP = nullptr;
    QLineEdit* EndP = nullptr;
    QLineEdit* Trigger = nullptr;
    QLineEdit* Full = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;

    // Signal labels 0 to 7, named by the user.
    std::array<ClickablePicture*, 8> SignalLabel{};

    // Trigger buttons: indexes 0 to 20 (first step) and 32 to 52 (second step); the others
    // stay null.
    std::array<ClickablePicture*, 53> Trig{};
    QPushButton* Command6 = nullptr;

    // Waveform view.
    std::array<PictureSurface*, 20> Wave{};
    PictureSurface* TimeScaleStrip = nullptr;
    PictureSurface* XWindow = nullptr;
    PictureSurface* Overview = nullptr;
    QPushButton* ScrollLeft = nullptr;
    QPushButton* ScrollRight = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    PictureSurface* XValue = nullptr;
    PictureSurface* OValue = nullptr;
    PictureSurface* XtoOValue = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Scale = nullptr;
    QLineEdit* ScaleP = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* SubScale = nullptr;
    QPushButton* Command2 = nullptr;

    QPointer<AcquisitionMeasurementWindow> AcquisitionMeasurement;
    // Runs after every redraw of the view, for what shows its pictures elsewhere.
    std::function<void()> onRedrawn;

    // The program's own help window; null while not open.
    QPointer<HelpTextWindow> HelpText;

    // Decoder windows; null while not open.
    QPointer<SerialDecode> SerialDecodeWindow;
    QPointer<I2CDecode> I2CDecodeWindow;
    QPointer<SPI> SPIWindow;

    // Time reference, centring and find buttons, the trigger read-out and the insta-measure
    // options: present, with their behaviour, outside the visible area.
    PictureSurface* TValue = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command14 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command11 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QRadioButton* InstaOff = nullptr;
    QRadioButton* InstaWidth = nullptr;
    QRadioButton* InstaFreq = nullptr;
    QRadioButton* InstaPeriod = nullptr;
    QRadioButton* InstaByte = nullptr;
    QTimer* ScrollTimerLeft = nullptr;
    QTimer* ScrollTimerRight = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    // The settings a save writes now, and the ones an open keeps where a file lacks them.
    CaptureFileFields CurrentFileFields() const;
    // Open's steps for the program's own files and for the formats of other tools; false with a
    // one-line reason in `why`.
    bool OpenNrkFile(const std::string& path, std::vector<std::string>& notes, std::string& why);
    bool OpenForeignFile(const std::string& path, interchange::CaptureFormat format,
                         std::vector<std::string>& notes, std::string& why);
    // The size list's entry and a buffer for a file being opened.
    bool SizeBufferForFile(const interchange::BufferPlan& plan, std::string& why);
    // All nine rates, the current one selected (none when the code is none of them).
    void RefillRateList();
    void CreateAcquisitionControls();
    void CreateMenus();
    void CreateTriggerButtons();
    void CreateWaveformSurfaces();
    void CreateDisplayControls();
    void CreateZoomFields();
    void ShowPodReady(bool ready);
    void CreateAcquisitionTimers();
    void CreateCaptureStatusBoxes();
    void CreateSignalLabels();
    void ShowStatus(const QString& caption, const QColor& background);
    void ShowProgress(int percent);
    void LockCaptureSettings(bool locked);
    int32_t ReadCaptureStatus();
    void ShowCaptureStatus();
    void DrawRow(int row);
    void DrawMarks(double column, uint8_t wideInk, uint8_t narrowInk, const char* label);
    void CreateViewCommands();
    void CreateInstaMeasureOptions();
    void ConnectViewMouse();
    void ConnectViewMenu();
    void ConnectWheelAndKeys();
    void DrawInstaMark(int row, double x, const InstaMark& mark);
    void DrawByteMark(int row, double x, uint32_t value);
    void ShowInstaDetail(PictureSurface* wave, const std::string& detail);
    int32_t InstaSearch(SampleStep step, uint32_t from, bool forward);
    bool ZoomInAllowed() const;
    bool ZoomOutAllowed() const;
    void ZoomKeepingSampleAt(int32_t c, double x);
    // The click zoom about column x; false when the zoom limit refused it.
    bool ZoomInAtColumn(double x);
    bool ZoomOutAtColumn(double x);
    void ZoomAboutCentre(bool (Form1::*allowed)() const, void (Form1::*step)());
    void ZoomIn();
    void ZoomOut();
    void ZoomAll();
    void ScrollOneStep(ScrollDirection direction);
    void ScrollBy(ScrollDirection direction, int32_t step);
    void ScrollNotches(int notches);
    void ScrollOneScreen(ScrollDirection direction);
    void StartRepeatingScroll(ScrollDirection direction, QTimer* timer);
    void RepeatScroll(ScrollDirection direction, QTimer* timer);
    void CenterAndRedraw(int32_t sample);
    void ShowFound(int32_t target);

    AppState state_;
    // Working arrays of the redraw: the column levels of sample bits 0 to 20 and one row's runs.
    std::array<std::vector<uint8_t>, kSignalBits> ColumnLevels;
    std::vector<uint32_t> RunList;
    StripText stripText_;
    // The insta-measure's summary of the samples, made at its first search after a capture or
    // an open; whatever stores new samples forgets it.
    SampleSummary sampleSummary_;
    WheelNotches zoomWheel_;
    WheelNotches scrollWheel_;
    WheelNotches overviewWheel_;
    // The file name the Save As and Open dialog last returned; the next use starts there.
    QString CommonDialogFileName;
    // Where the capture being run or finished comes from.
    enum class CaptureSource { Demo, Pod, RefusedByPod };
    CaptureSource captureSource_ = CaptureSource::Demo;
    // FinishCapture calls under way; while any is, nothing new reaches the library.
    int finishingCaptures_ = 0;
    bool podWatchBusy_ = false;
    bool fileWorkRunning_ = false;
    // The pod list's entry of the pod opened last, shown again when a choice is refused.
    int openPodEntry_ = 0;
};

} // namespace norrik
