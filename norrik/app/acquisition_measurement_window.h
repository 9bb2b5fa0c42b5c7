// "Acquisition and Measurement": a tool window that brings the main window's controls outside
// its visible area within reach: the rate, pod and clock settings, the time references and
// centring, the insta-measure options, find and clear, the signal labels and the capture status
// numbers. Every control is a twin of the hidden one and acts through it.
#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace norrik {

class ClickablePicture;
class Form1;
class SurfaceTwin;

class AcquisitionMeasurementWindow : public QWidget {
public:
    explicit AcquisitionMeasurementWindow(Form1& form);

    // Shows the window, beside the main window the first time, and brings it to the front.
    void ShowBeside();

    // The twins, named after their hidden controls.
    QComboBox* RateList = nullptr;
    QComboBox* PodList = nullptr;
    QRadioButton* InternalCLK = nullptr;
    QRadioButton* ExternalCLK = nullptr;
    ClickablePicture* CLKEdge = nullptr;
    ClickablePicture* TRIGValid = nullptr;
    QPushButton* Command12 = nullptr; // times relative to T
    QPushButton* Command13 = nullptr; // X
    QPushButton* Command14 = nullptr; // O
    SurfaceTwin* TValue = nullptr;
    QPushButton* Command7 = nullptr; // centre on X
    QPushButton* Command8 = nullptr; // O
    QPushButton* Command9 = nullptr; // T
    QRadioButton* InstaOff = nullptr;
    QRadioButton* InstaWidth = nullptr;
    QRadioButton* InstaFreq = nullptr;
    QRadioButton* InstaPeriod = nullptr;
    QRadioButton* InstaByte = nullptr;
    QPushButton* Command10 = nullptr; // Find Next
    QPushButton* Command11 = nullptr; // Find Previous
    QPushButton* Command6 = nullptr;  // Clear
    std::array<ClickablePicture*, 8> SignalLabel{};
    QLineEdit* Breaks = nullptr;
    QLineEdit* Running = nullptr;
    QLineEdit* Triggered = nullptr;
    QLineEdit* StartP = nullptr;
    QLineEdit* EndP = nullptr;
    QLineEdit* Trigger = nullptr;
    QLineEdit* Full = nullptr;

private:
    QWidget* AcquisitionGroup(Form1& form);
    QWidget* TimesGroup(Form1& form);
    QWidget* InstaMeasureGroup(Form1& form);
    QWidget* PatternGroup(Form1& form);
    QWidget* SignalLabelsGroup(Form1& form);
    QWidget* CaptureStatusGroup(Form1& form);

    bool placed_ = false;
};

} // namespace norrik
