// Find Next and Find Previous: the trigger pattern of the trigger buttons searched in the
// captured samples from the view's centre, and the occurrence found centred.
#include "form1.h"
#include "trigger_steps.h"
#include "view/trigger_find.h"

#include <QApplication>

namespace norrik {

void Form1::Command10_Click() {
    BuildTriggerSteps(state_.TriggerLevels, state_.TriggerStepCount, state_.TriggerSteps);
    ShowFound(FindBeginningForward(CaptureSamples(state_), PatternOfSteps(state_.TriggerSteps),
                                   int64_t{state_.CenterSample} + 1));
}

void Form1::Command11_Click() {
    BuildTriggerSteps(state_.TriggerLevels, state_.TriggerStepCount, state_.TriggerSteps);
    ShowFound(FindBeginningBackward(CaptureSamples(state_), PatternOfSteps(state_.TriggerSteps),
                                    state_.CenterSample));
}

void Form1::ShowFound(int32_t target) {
    if (target < 0) {
        QApplication::beep();
        RedrawWaveforms();
        return;
    }
    CenterAndRedraw(target);
}

} // namespace norrik
