// The Acquisition and Measurement window: every twin, used through real mouse and key events,
// changes the state its hidden control changes, and every change of a hidden control, by a
// handler or a capture, shows in its twin. Runs over two virtual pods, 5 and 9.
#include "acquisition_measurement_window.h"
#include "clickable_picture.h"
#include "control_twins.h"
#include "diagnostic_log.h"
#include "input_box.h"
#include "trigger_pictures.h"
#include "trigger_steps.h"
#include "view/picture_surface.h"
#include "window_under_test.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace norrik {
namespace {

bool Shows(const QLabel* picture, int level) {
    return picture->pixmap().toImage() == TriggerLevelPicture(level).toImage();
}

} // namespace

class AcquisitionMeasurementTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form;
    AcquisitionMeasurementWindow* tools = nullptr;

    AppState& State() { return form->State(); }

    // A click on an option's round button, where a user chooses it.
    static void Choose(QRadioButton* option) {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    }

    // The samples of the demo pattern, taken as a capture.
    void DemoCapture() {
        Podcore().DemoData();
        State().HaveCapture = true;
        form->ZoomAllSetting();
        form->RedrawWaveforms();
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    void init() {
        form = StartedWindow();
        form->show();
        form->findChild<QAction*>("AcquisitionMeasurementMenu")->trigger();
        tools = form->AcquisitionMeasurement;
        QVERIFY(tools != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(tools));
    }

    void cleanup() {
        SetInputAnswerer({});
        form.reset();
    }

    void oneItemAtTheEndOfTheViewMenuOpensOneWindow() {
        QStringList captions;
        for (const QAction* item : form->findChild<QMenu*>("mview")->actions())
            captions << item->text();
        QCOMPARE(captions, QStringList({"SPI Decoder", "I2C Decoder", "Async Serial Decoder",
                                        "Scroll Waveforms Left", "Scroll Waveforms Right",
                                        "Zoom to see All acquired data", "Zoom Out", "Zoom In",
                                        "Acquisition and Measurement"}));
        QCOMPARE(tools->windowTitle(), QString("Acquisition and Measurement"));
        tools->close();
        form->findChild<QAction*>("AcquisitionMeasurementMenu")->trigger();
        QCOMPARE(form->AcquisitionMeasurement.data(), tools);
        QVERIFY(tools->isVisible());
        QCOMPARE(form->findChildren<QWidget*>("AcquisitionMeasurement").size(), 1);
        // The main window keeps its fixed client area.
        QCOMPARE(form->client->size(), QSize(905, 518));
    }

    void theListsChooseAsTheHiddenListsDo() {
        QCOMPARE(form->PodList->count(), 2);
        QCOMPARE(tools->PodList->count(), 2);
        QCOMPARE(tools->PodList->currentText(), QString(" 5"));
        const qsizetype logged = form->Output->Lines().size();
        QTest::keyClick(tools->PodList, Qt::Key_Down);
        QCOMPARE(form->PodList->currentText(), QString(" 9"));
        QCOMPARE(form->Output->Lines().mid(logged), QStringList({"InitOK"}));

        // A ready pod offers 2 and 1 Msps.
        QCOMPARE(tools->RateList->currentText(), QString(" 2 Msps"));
        QTest::keyClick(tools->RateList, Qt::Key_Down);
        QCOMPARE(form->RateList->currentText(), QString(" 1 Msps"));
        QCOMPARE(State().RateCode[0], uint8_t{17});

        // A selection made by the program shows in the twin.
        Form1::SelectEntry(form->RateList, 0);
        QCOMPARE(tools->RateList->currentText(), QString(" 2 Msps"));
        QCOMPARE(State().RateCode[0], uint8_t{27});
        form->RefreshSettingLists();
        QCOMPARE(tools->RateList->count(), form->RateList->count());
        QCOMPARE(tools->RateList->currentIndex(), form->RateList->currentIndex());
    }

    void theClockOptionsSetTheControlsThatDependOnThem() {
        Choose(tools->InstaWidth);
        QCOMPARE(form->SelectedInstaMode(), InstaMode::Width);

        Choose(tools->ExternalCLK);
        QVERIFY(form->ExternalCLK->isChecked());
        QVERIFY(!tools->InternalCLK->isChecked());
        for (QWidget* twin : std::initializer_list<QWidget*>{tools->RateList, tools->Command12,
                                                             tools->Command13, tools->Command14})
            QVERIFY(!twin->isEnabled());
        QVERIFY(tools->CLKEdge->isEnabled() && tools->TRIGValid->isEnabled());

        QTest::mouseClick(tools->CLKEdge, Qt::LeftButton);
        QCOMPARE(State().ClockEdge, uint8_t{1});
        QVERIFY(Shows(tools->CLKEdge, kFall));
        QTest::mouseClick(tools->TRIGValid, Qt::LeftButton);
        QCOMPARE(State().TrigQualifier, uint8_t{1});
        QVERIFY(Shows(tools->TRIGValid, kHigh));
        QVERIFY(Shows(form->TRIGValid, kHigh));

        // The internal clock's handler selects Off again, in both.
        Choose(tools->InternalCLK);
        QVERIFY(form->InternalCLK->isChecked());
        QVERIFY(tools->InstaOff->isChecked());
        QCOMPARE(form->SelectedInstaMode(), InstaMode::Off);
        QVERIFY(tools->RateList->isEnabled() && tools->Command12->isEnabled());
        QVERIFY(!tools->CLKEdge->isEnabled());

        // A restart of the pod resets the pictures: the twins follow.
        form->InitializeSystem();
        QVERIFY(Shows(tools->CLKEdge, kRise));
        QVERIFY(Shows(tools->TRIGValid, kDontCare));
    }

    void timeReferenceAndCentringButtons() {
        DemoCapture();
        State().XCursor = 200000;
        State().OCursor = 700000;
        State().TriggerSample = 314573;
        const std::pair<QPushButton*, uint8_t> references[] = {
            {tools->Command13, kXReference},
            {tools->Command14, kOReference},
            {tools->Command12, kTriggerReference}};
        for (const auto& [twin, reference] : references) {
            QTest::mouseClick(twin, Qt::LeftButton);
            QCOMPARE(State().TimeReference, reference);
        }
        form->ScaleP->setText(" 4");
        form->RedrawWaveforms();
        const std::pair<QPushButton*, int32_t> centring[] = {
            {tools->Command7, 200000}, {tools->Command8, 700000}, {tools->Command9, 314573}};
        for (const auto& [twin, sample] : centring) {
            QTest::mouseClick(twin, Qt::LeftButton);
            QCOMPARE(State().CenterSample, sample);
        }
        // The trigger read-out's picture and tool tip, as every redraw leaves them.
        QTest::mouseClick(tools->Command13, Qt::LeftButton);
        const auto shown = [](QWidget* surface) {
            return surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        QCOMPARE(shown(tools->TValue), shown(form->TValue));
        QCOMPARE(tools->TValue->toolTip(), form->TValue->toolTip());
        QVERIFY(tools->TValue->toolTip().contains("after the X cursor"));
    }

    void findAndClearWorkOnTheTriggerPattern() {
        DemoCapture();
        // Demo samples are 0xCCCCCCCC + k: P0 high, then low.
        State().TriggerLevels[TriggerLevelIndex(0, 0)] = kHigh;
        State().TriggerLevels[TriggerLevelIndex(1, 0)] = kLow;
        form->CenterViewOn(1000);
        form->RedrawWaveforms();
        QTest::mouseClick(tools->Command10, Qt::LeftButton);
        const int32_t next = State().CenterSample;
        QVERIFY(next > 1000);
        form->CenterViewOn(1000);
        form->RedrawWaveforms();
        form->Command10->click();
        QCOMPARE(State().CenterSample, next);
        QTest::mouseClick(tools->Command11, Qt::LeftButton);
        QVERIFY(State().CenterSample < next);

        QTest::mouseClick(tools->Command6, Qt::LeftButton);
        for (const uint8_t level : State().TriggerLevels)
            QCOMPARE(level, uint8_t{kDontCare});
        QVERIFY(Shows(form->Trig[0], kDontCare));
    }

    void signalLabelsAreNamedThroughEitherPlace() {
        SetInputAnswerer([](const InputRequest&) { return QString("SDA"); });
        QTest::mouseClick(tools->SignalLabel[2], Qt::LeftButton);
        QCOMPARE(form->SignalLabel[2]->text(), QString("SDA"));
        QCOMPARE(tools->SignalLabel[2]->text(), QString("SDA"));
        QCOMPARE(tools->SignalLabel[2]->palette().color(QPalette::Window), QColor(192, 0, 0));

        SetInputAnswerer([](const InputRequest&) { return QString("SCL"); });
        form->SignalLabel_Click(3);
        QCOMPARE(tools->SignalLabel[3]->text(), QString("SCL"));
    }

    void aCaptureShowsItsStatusNumbersInBoth() {
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(form->Command1->text(), QString("Acquire"), 20000);
        const std::pair<QLineEdit*, QLineEdit*> boxes[] = {
            {tools->Breaks, form->Breaks},       {tools->Running, form->Running},
            {tools->Triggered, form->Triggered}, {tools->StartP, form->StartP},
            {tools->EndP, form->EndP},           {tools->Trigger, form->Trigger},
            {tools->Full, form->Full},
        };
        for (const auto& [twin, hidden] : boxes) {
            QVERIFY(!hidden->text().isEmpty());
            QCOMPARE(twin->text(), hidden->text());
            QVERIFY(twin->isReadOnly());
        }
        // The settings were locked during the capture and are free again.
        QVERIFY(tools->RateList->isEnabled());
    }
};

} // namespace norrik

QTEST_MAIN(norrik::AcquisitionMeasurementTest)
#include "acquisition_measurement_test.moc"
