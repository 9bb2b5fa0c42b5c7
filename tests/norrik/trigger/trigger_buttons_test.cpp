// The trigger buttons in the window: their places, the click cycle with its pictures, and Clear.
#include "clickable_picture.h"
#include "form1.h"
#include "podcore_api.h"
#include "window_under_test.h"
#include "trigger_pictures.h"
#include "trigger_steps.h"
#include "view/picture_surface.h"

#include <QPushButton>
#include <QtTest>

namespace norrik {

class TriggerButtonsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form1> window;

    static bool Shows(const ClickablePicture* button, int level) {
        return button->pixmap().toImage() == TriggerLevelPicture(level).toImage();
    }

    void Click(int index) {
        QTest::mouseClick(window->Trig[static_cast<size_t>(index)], Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    void init() {
        window = StartedWindow();
    }

    void cleanup() { window.reset(); }

    void fortyTwoButtonsStandLevelWithTheRowsOfTheirBits() {
        int buttons = 0;
        for (size_t index = 0; index < window->Trig.size(); ++index) {
            const ClickablePicture* button = window->Trig[index];
            const bool expected = index <= 20 || (index >= 32 && index <= 52);
            QCOMPARE(button != nullptr, expected);
            if (button == nullptr)
                continue;
            ++buttons;
            QCOMPARE(button->toolTip(),
                     QString("Click here to change the trigger level or search level"));
            QVERIFY(Shows(button, kDontCare));
            const int bit = static_cast<int>(index % 32);
            if (bit == 18) {
                QVERIFY(button->x() >= window->client->width() ||
                        button->y() >= window->client->height());
                continue;
            }
            const int row = static_cast<int>(std::find(kRowBit.begin(), kRowBit.end(), bit) -
                                             kRowBit.begin());
            QCOMPARE(button->y(), window->Wave[static_cast<size_t>(row)]->y());
            QCOMPARE(button->x(), index < 32 ? 3120 / 15 : 3360 / 15);
        }
        QCOMPARE(buttons, 42);
    }

    void clicksCycleDontCareHighLowWithTheirPictures() {
        const int expected[] = {kHigh, kLow, kDontCare, kHigh};
        for (const int level : expected) {
            Click(35);
            QCOMPARE(int(window->State().TriggerLevels[35]), level);
            QVERIFY(Shows(window->Trig[35], level));
        }
        QCOMPARE(int(window->State().TriggerLevels[3]), int(kDontCare));
    }

    void clicksDoNotRebuildTheStepsUntilTheyAreBuilt() {
        Click(3);
        Click(35);
        Click(35);
        Click(20);
        AppState& state = window->State();
        QCOMPARE(state.TriggerSteps[0], 0u);
        BuildTriggerSteps(state.TriggerLevels, state.TriggerStepCount, state.TriggerSteps);
        QCOMPARE(state.TriggerSteps[0], 8u | (1u << 20));
        QCOMPARE(state.TriggerSteps[1], 8u | (1u << 20));
        QCOMPARE(state.TriggerSteps[2], 8u);
        QCOMPARE(state.TriggerSteps[3], 0u);
    }

    void aRiseFromAFileShowsItsPictureAndGoesToDontCareOnAClick() {
        AppState& state = window->State();
        state.TriggerLevels[5] = kRise;
        state.TriggerLevels[40] = kFall;
        window->RefreshTriggerPictures();
        QVERIFY(Shows(window->Trig[5], kRise));
        QVERIFY(Shows(window->Trig[40], kFall));
        BuildTriggerSteps(state.TriggerLevels, state.TriggerStepCount, state.TriggerSteps);
        QCOMPARE(state.TriggerSteps[0], 0u);
        QCOMPARE(state.TriggerSteps[2], 0u);
        Click(5);
        QCOMPARE(int(state.TriggerLevels[5]), int(kDontCare));
        QVERIFY(Shows(window->Trig[5], kDontCare));
    }

    void clearShowsDontCareEverywhereAndEmptiesTheSteps() {
        for (const int index : {0, 7, 18, 20, 32, 45, 50, 52})
            Click(index);
        Click(45);
        window->State().TriggerLevels[100] = kHigh; // no button, still cleared
        QCOMPARE(window->Command6->toolTip(),
                 QString("Click here to clear out the trigger levels above"));
        QTest::mouseClick(window->Command6, Qt::LeftButton);
        const AppState& state = window->State();
        for (size_t index = 0; index < 256; ++index)
            QCOMPARE(int(state.TriggerLevels[index]), int(kDontCare));
        for (const ClickablePicture* button : window->Trig) {
            if (button != nullptr)
                QVERIFY(Shows(button, kDontCare));
        }
        for (size_t word = 0; word < 4; ++word)
            QCOMPARE(state.TriggerSteps[word], 0u);
    }

    void startupRefreshesThePicturesFromTheLevels() {
        AppState& state = window->State();
        state.TriggerLevels[9] = kLow;
        window->RefreshSettingLists();
        QVERIFY(Shows(window->Trig[9], kLow));
        QCOMPARE(state.TriggerSteps[0], 1u << 9);
        QCOMPARE(state.TriggerSteps[1], 0u);
    }
};

} // namespace norrik

QTEST_MAIN(norrik::TriggerButtonsTest)
#include "trigger_buttons_test.moc"
