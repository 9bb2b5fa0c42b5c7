// The clock source options and the two picture buttons that only matter with an external clock.
#include "clickable_picture.h"
#include "form1.h"
#include "trigger_pictures.h"

#include <QComboBox>
#include <QRadioButton>

namespace norrik {

void Form1::InternalCLK_Click() {
    RateList->setEnabled(true);
    TRIGValid->setEnabled(false);
    CLKEdge->setEnabled(false);
    RedrawWaveforms();
}

void Form1::ExternalCLK_Click() {
    RateList->setEnabled(false);
    TRIGValid->setEnabled(true);
    CLKEdge->setEnabled(true);
    RedrawWaveforms();
}

void Form1::CLKEdge_Click() {
    state_.ClockEdge = state_.ClockEdge + 1 > 1 ? 0 : state_.ClockEdge + 1;
    CLKEdge->setPixmap(TriggerLevelPicture(state_.ClockEdge == 0 ? kRise : kFall));
}

void Form1::TRIGValid_Click() {
    state_.TrigQualifier = state_.TrigQualifier + 1 > 2 ? 0 : state_.TrigQualifier + 1;
    constexpr TriggerLevel kQualifierPictures[] = {kDontCare, kHigh, kLow};
    TRIGValid->setPixmap(TriggerLevelPicture(kQualifierPictures[state_.TrigQualifier]));
}

} // namespace norrik
