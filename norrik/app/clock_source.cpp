// The clock source options and the two picture buttons that only matter with an external clock.
#include "clickable_picture.h"
#include "form1.h"
#include "trigger_pictures.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace norrik {

// Times, and with them the measurements and the time references, exist only with the pod's own
// clock.
void Form1::InternalCLK_Click() {
    RateList->setEnabled(true);
    InstaOff->setChecked(true);
    for (QWidget* control : {static_cast<QWidget*>(InstaOff), static_cast<QWidget*>(InstaWidth),
                             static_cast<QWidget*>(InstaFreq), static_cast<QWidget*>(InstaPeriod),
                             static_cast<QWidget*>(InstaByte), static_cast<QWidget*>(Command12),
                             static_cast<QWidget*>(Command13), static_cast<QWidget*>(Command14)})
        control->setEnabled(true);
    TRIGValid->setEnabled(false);
    CLKEdge->setEnabled(false);
    RedrawWaveforms();
}

void Form1::ExternalCLK_Click() {
    RateList->setEnabled(false);
    for (QPushButton* button : {Command12, Command13, Command14})
        button->setEnabled(false);
    TRIGValid->setEnabled(true);
    CLKEdge->setEnabled(true);
    RedrawWaveforms();
}

void Form1::CLKEdge_Click() {
    state_.ClockEdge = state_.ClockEdge + 1 > 1 ? 0 : state_.ClockEdge + 1;
    CLKEdge->ShowPicture(TriggerLevelPicture(state_.ClockEdge == 0 ? kRise : kFall));
}

void Form1::TRIGValid_Click() {
    state_.TrigQualifier = state_.TrigQualifier + 1 > 2 ? 0 : state_.TrigQualifier + 1;
    constexpr TriggerLevel kQualifierPictures[] = {kDontCare, kHigh, kLow};
    TRIGValid->ShowPicture(TriggerLevelPicture(kQualifierPictures[state_.TrigQualifier]));
}

} // namespace norrik
