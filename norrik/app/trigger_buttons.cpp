// The two columns of trigger buttons beside the signal rows, their click cycle and Clear.
#include "clickable_picture.h"
#include "form1.h"
#include "layout.h"
#include "trigger_pictures.h"
#include "trigger_steps.h"

#include <QPushButton>

#include <algorithm>

namespace norrik {
namespace {

constexpr int kTriggerSteps = 2;
constexpr int kHiddenBit = 18;

// Top of the row that shows sample bit `bit`, in twips.
int RowTopOfBit(int bit) {
    const auto row = std::find(kRowBit.begin(), kRowBit.end(), bit) - kRowBit.begin();
    return 480 + 240 * (19 - static_cast<int>(row));
}

} // namespace

void Form1::CreateTriggerButtons() {
    for (int step = 0; step < kTriggerSteps; ++step) {
        for (int bit = 0; bit < kSignalBits; ++bit) {
            const int index = TriggerLevelIndex(step, bit);
            auto* button = new ClickablePicture(client);
            button->setObjectName(QString("Trig_%1").arg(index));
            // Bit 18 has no row: its buttons exist but lie beyond the visible area.
            button->setGeometry(bit == kHiddenBit
                                    ? Twips(kOffscreenLeft, 6300 + 300 * step, 255, 255)
                                    : Twips(3120 + 240 * step, RowTopOfBit(bit), 255, 255));
            button->setAlignment(Qt::AlignCenter);
            button->setAutoFillBackground(true);
            button->setPixmap(TriggerLevelPicture(kDontCare));
            button->setToolTip("Click here to change the trigger level or search level");
            button->onClick = [this, index] { Trig_Click(index); };
            Trig[static_cast<size_t>(index)] = button;
        }
    }
    Command6 = new QPushButton("Clear", client);
    Command6->setGeometry(kOffscreenLeft / kTwipsPerPixel, 590, 80, 25);
    Command6->setToolTip("Click here to clear out the trigger levels above");
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
}

void Form1::Trig_Click(int index) {
    uint8_t& level = state_.TriggerLevels[static_cast<size_t>(index)];
    level = NextTriggerLevel(level);
    Trig[static_cast<size_t>(index)]->setPixmap(TriggerLevelPicture(level));
}

void Form1::RefreshTriggerPictures() {
    for (size_t index = 0; index < Trig.size(); ++index) {
        if (Trig[index] != nullptr)
            Trig[index]->setPixmap(TriggerLevelPicture(state_.TriggerLevels[index]));
    }
}

void Form1::Command6_Click() {
    std::fill_n(state_.TriggerLevels.begin(), 256, uint8_t{kDontCare});
    RefreshTriggerPictures();
    BuildTriggerSteps(state_.TriggerLevels, state_.TriggerStepCount, state_.TriggerSteps);
}

} // namespace norrik
