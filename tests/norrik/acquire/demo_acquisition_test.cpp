// The acquisition cycle in demo mode, the Acquire button's guard, and the acquisition group's
// other controls: clock source, signal labels and the controls kept outside the visible area.
#include "call_log.h"
#include "clickable_picture.h"
#include "decoders_ui/serial_decode.h"
#include "form1.h"
#include "input_box.h"
#include "linked_pod_window.h"
#include "trigger_pictures.h"
#include "view/picture_surface.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace norrik;

namespace {

QColor Background(const QLabel* label) {
    return label->palette().color(QPalette::Window);
}

bool Shows(const QLabel* picture, TriggerLevel level) {
    return picture->pixmap().toImage() == TriggerLevelPicture(level).toImage();
}

// Whether any part of the widget lies inside the client area, through every enclosing group.
bool InsideVisibleArea(const QWidget* widget, const QWidget* client) {
    QRect area = widget->rect();
    for (const QWidget* w = widget; w != client; w = w->parentWidget()) {
        area.translate(w->pos());
        area &= w->parentWidget()->rect();
    }
    return !area.isEmpty();
}

} // namespace

class DemoAcquisitionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form;
    CallLog& log = CallLog::Instance();

    QAction* MenuAcquire() { return form->findChild<QAction*>("macquire"); }

private slots:
    void initTestCase() { UsePrivateFolders(); }

    void init() {
        FreshVirtualDriver(); // no pod: demo mode
        log.Install();
        form = std::make_unique<Form1>();
        form->Form_Load();
        form->show();
        QVERIFY(form->State().DemoMode);
    }

    void cleanup() { form.reset(); }

    void demoCaptureRunsTheWholeCycle() {
        form->TriggerPositionScroll->setValue(30);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->Command1->text(), QString("Stop"));
        QCOMPARE(form->Status->text(), QString("Waiting for Trigger"));
        QCOMPARE(Background(form->Status), QColor(0, 255, 255));
        QVERIFY(form->State().Acquiring);
        QVERIFY(!form->Command1->isEnabled());
        QCOMPARE(log.Count("DemoData"), 1);
        QCOMPARE(form->Progress->value(), 0);
        QCOMPARE(uint32_t(Podcore().LoggedData(5)), 0xCCCCCCCCu + 5);

        QTRY_COMPARE_WITH_TIMEOUT(form->Command1->text(), QString("Acquire"), 5000);
        // The finish waited for the guard of the press before it stopped.
        QVERIFY2(clock.elapsed() >= 1400, qPrintable(QString::number(clock.elapsed())));
        const AppState& state = form->State();
        QVERIFY(!state.Acquiring);
        QVERIFY(state.HaveCapture);
        QCOMPARE(form->Status->text(), QString("Stopped"));
        QCOMPARE(Background(form->Status), QColor(255, 0, 0));
        QCOMPARE(form->Progress->value(), 100);
        QCOMPARE(state.TriggerSample, 314573);
        QCOMPARE(state.ScreenStart, -104858);
        QCOMPARE(form->SubScale->text(), QString("0"));
        QVERIFY(qAbs(form->ScaleP->text().toDouble() - 1048576 * 1.2 / form->RowWidth()) < 0.01);
        QCOMPARE(form->Trigger->text(), QString(" 314573"));
        QCOMPARE(form->Triggered->text(), QString(" 255"));
        QCOMPARE(form->Running->text(), QString(" 0"));
        QCOMPARE(form->EndP->text(), QString(" 1048576"));
        QCOMPARE(form->Full->text(), QString(" 100"));
        // Demo captures never reach the pod's capture exports.
        QCOMPARE(log.Count("StartCapture"), 0);
        QCOMPARE(log.Count("StopCapture"), 0);
    }

    void acquireButtonIsGuardedAfterThePressAndAfterTheFinish() {
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->Timer3->interval(), 1500);
        QVERIFY(form->Timer3->isActive());
        QTest::qWait(1000);
        QVERIFY(!form->Command1->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(form->Command1->text(), QString("Acquire"), 5000);
        // The finish disables the button again for a whole guard.
        QVERIFY(!form->Command1->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(form->Command1->isEnabled(), 3000);
        QVERIFY2(clock.elapsed() >= 2800, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(form->Command1->isDefault());
    }

    void secondPressWithinTheGuardIsIgnoredButTheMenuStops() {
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QTest::qWait(100);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QVERIFY(form->State().Acquiring);
        QCOMPARE(form->Command1->text(), QString("Stop"));

        MenuAcquire()->trigger(); // returns once the stop has finished
        QVERIFY(!form->State().Acquiring);
        QVERIFY(!form->Timer1->isActive());
        QCOMPARE(form->Status->text(), QString("Stopped"));
        QCOMPARE(form->Command1->text(), QString("Acquire"));
        QTest::qWait(600);
        QCOMPARE(log.Count("DemoData"), 1);
        QCOMPARE(form->Status->text(), QString("Stopped"));
    }

    // Enter presses Acquire once, from wherever the keyboard focus is in the main window,
    // when the focused control does not take the key itself.
    void enterPressesAcquire_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::newRow("Zoom In button, Return") << "Command3" << int(Qt::Key_Return);
        QTest::newRow("size list, Return") << "SizeList" << int(Qt::Key_Return);
        QTest::newRow("zoom field, keypad Enter") << "ScaleP" << int(Qt::Key_Enter);
        QTest::newRow("Acquire button, Return") << "Command1" << int(Qt::Key_Return);
    }
    void enterPressesAcquire() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QWidget* target = focus == "Command3"   ? static_cast<QWidget*>(form->Command3)
                          : focus == "SizeList" ? static_cast<QWidget*>(form->SizeList)
                          : focus == "ScaleP"   ? static_cast<QWidget*>(form->ScaleP)
                                                : static_cast<QWidget*>(form->Command1);
        target->setFocus();
        const Qt::KeyboardModifiers keypad =
            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), keypad);
        QCOMPARE(form->Command1->text(), QString("Stop"));
        QVERIFY(form->State().Acquiring);
        // A second Enter within the button's guard is a press of a disabled button.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), keypad);
        QVERIFY(form->State().Acquiring);
        QCOMPARE(log.Count("DemoData"), 1);
    }

    void enterInAnotherWindowLeavesAcquireAlone() {
        form->MenuSerial_Click();
        QWidget* serial = form->SerialDecodeWindow;
        QApplication::setActiveWindow(serial);
        QVERIFY(QTest::qWaitForWindowActive(serial));
        form->SerialDecodeWindow->BaudRate->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!form->State().Acquiring);
        QCOMPARE(log.Count("DemoData"), 0);
    }

    void buffersAndPodsCannotBeChangedUnderACapture() {
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QVERIFY(!form->SizeList->isEnabled());
        QVERIFY(!form->PodList->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(form->Command1->text(), QString("Acquire"), 5000);
        QVERIFY(form->SizeList->isEnabled());
        QVERIFY(form->PodList->isEnabled());
    }

    void clockSourceEnablesItsControls() {
        QVERIFY(form->InternalCLK->isChecked());
        QVERIFY(form->RateList->isEnabled());
        QVERIFY(!form->CLKEdge->isEnabled());
        QVERIFY(!form->TRIGValid->isEnabled());
        QTest::mouseClick(form->CLKEdge, Qt::LeftButton); // disabled: no effect
        QCOMPARE(form->State().ClockEdge, uint8_t{0});

        form->InstaWidth->setChecked(true);
        form->ExternalCLK->click();
        QVERIFY(!form->RateList->isEnabled());
        QVERIFY(form->CLKEdge->isEnabled());
        QVERIFY(form->TRIGValid->isEnabled());
        for (QPushButton* reference : {form->Command12, form->Command13, form->Command14})
            QVERIFY(!reference->isEnabled());

        const TriggerLevel edges[] = {kFall, kRise};
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(form->CLKEdge, Qt::LeftButton);
            QCOMPARE(form->State().ClockEdge, uint8_t((i + 1) % 2));
            QVERIFY(Shows(form->CLKEdge, edges[i]));
        }
        const TriggerLevel qualifiers[] = {kHigh, kLow, kDontCare};
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(form->TRIGValid, Qt::LeftButton);
            QCOMPARE(form->State().TrigQualifier, uint8_t((i + 1) % 3));
            QVERIFY(Shows(form->TRIGValid, qualifiers[i]));
        }

        form->InternalCLK->click();
        QVERIFY(form->RateList->isEnabled());
        QVERIFY(!form->CLKEdge->isEnabled());
        QVERIFY(!form->TRIGValid->isEnabled());
        QVERIFY(form->InstaOff->isChecked());
        for (QWidget* control : QList<QWidget*>{form->InstaOff, form->InstaWidth, form->InstaFreq,
                                                form->InstaPeriod, form->InstaByte,
                                                form->Command12, form->Command13, form->Command14})
            QVERIFY(control->isEnabled());
    }

    void signalLabelsTakeTheTypedNameOrNone() {
        QList<InputRequest> asked;
        std::optional<QString> answer = QString("SDA line");
        SetInputAnswerer([&](const InputRequest& request) {
            asked << request;
            return answer;
        });
        QTest::mouseClick(form->SignalLabel[3], Qt::LeftButton);
        QCOMPARE(form->SignalLabel[3]->text(), QString("SDA line"));
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].prompt, QString("Enter the new name for this signal"));
        QCOMPARE(asked[0].initial, QString());

        answer = std::nullopt; // cancelled
        QTest::mouseClick(form->SignalLabel[3], Qt::LeftButton);
        QCOMPARE(form->SignalLabel[3]->text(), QString());
        SetInputAnswerer({});

        QCOMPARE(form->SignalLabel[0]->text(), QString("Signal 0"));
        QCOMPARE(Background(form->SignalLabel[4]), QColor(255, 255, 0));
        QCOMPARE(form->SignalLabel[4]->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(Background(form->SignalLabel[7]), QColor(192, 0, 192));
        QCOMPARE(form->SignalLabel[7]->palette().color(QPalette::WindowText), QColor(Qt::white));
    }

    void theTopRowsCarrySinSoutResAndVddAsTheirLegend() {
        // Rows from the top and the sample bit the legend names there.
        const int legendBits[] = {16, 17, 19, 20};
        for (int k = 0; k < 4; ++k) {
            const PictureSurface* row = form->Wave[size_t(19 - k)];
            QCOMPARE(form->Trig[size_t(legendBits[k])]->y(), row->y());
            QCOMPARE(form->Trig[size_t(32 + legendBits[k])]->y(), row->y());
        }
        QVERIFY(form->Wave[19]->y() < form->Wave[16]->y());
    }

    void hiddenControlsStayReachableOutsideTheVisibleArea() {
        const QList<QWidget*> shown = {form->Command1, form->Status, form->Progress, form->SizeList,
                                       form->TriggerPositionScroll};
        for (QWidget* widget : shown)
            QVERIFY2(InsideVisibleArea(widget, form->client), qPrintable(widget->objectName()));

        const QList<QWidget*> hidden = {
            form->RateList,      form->InternalCLK, form->ExternalCLK, form->CLKEdge,
            form->TRIGValid,     form->PodList,     form->Breaks,      form->Running,
            form->Triggered,     form->StartP,      form->EndP,        form->Trigger,
            form->Full,          form->Label13,     form->Label19,     form->SignalLabel[0],
            form->SignalLabel[7]};
        for (QWidget* widget : hidden) {
            QVERIFY(!widget->isHidden());
            QVERIFY(!InsideVisibleArea(widget, form->client));
        }
        // The focusable ones keep their place in the tab order.
        QSet<QWidget*> chain;
        for (QWidget* w = form->Command1->nextInFocusChain(); w != form->Command1;
             w = w->nextInFocusChain())
            chain.insert(w);
        const QList<QWidget*> focusable = {form->RateList, form->InternalCLK, form->PodList,
                                           form->Breaks, form->Full};
        for (QWidget* widget : focusable) {
            QVERIFY(chain.contains(widget));
            QVERIFY(widget->focusPolicy() & Qt::TabFocus);
        }
    }
};

QTEST_MAIN(DemoAcquisitionTest)
#include "demo_acquisition_test.moc"
