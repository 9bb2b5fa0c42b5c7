// The redraw checked on the pictures it draws: the run drawing, the bands, the marks and their
// order, the time scale, the overview, and a zoom setting broken by hand.
#include "form1.h"
#include "podcore_api.h"
#include "view/picture_surface.h"
#include "view/row_drawing.h"
#include "view/zoom_setting.h"
#include "view_test_support.h"
#include "window_under_test.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace norrik {
namespace {

// Colours as the pictures hold them, without alpha.
namespace rgb {
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kDarkRed = 0x800000;
constexpr QRgb kGreen = 0x00FF00;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kDarkBlue = 0x000080;
constexpr QRgb kLightGrey = 0xC0C0C0;
constexpr QRgb kGrey = 0x808080;
constexpr QRgb kBlack = 0x000000;
} // namespace rgb

} // namespace

class WaveformRenderingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form1> window;

    QRgb RowColour(int row) const {
        return static_cast<QRgb>(window->State().SignalColors[static_cast<size_t>(row)]);
    }

    // A view of one sample per column from `start`, with the cursors out of sight.
    void ShowSamplesFrom(int32_t start) {
        window->ScaleP->setText(" 1");
        window->SubScale->setText(" 0");
        AppState& state = window->State();
        state.ScreenStart = start;
        state.XCursor = state.OCursor = state.TriggerSample = 900000;
    }

    uint32_t* Samples() { return window->State().SampleBuffer; }

    void VerifyBand(int row) {
        const PictureSurface* wave = window->Wave[static_cast<size_t>(row)];
        const QRgb colour = RowColour(row);
        QCOMPARE(Pixel(wave, 0, 8), rgb::kWhite);
        for (const auto& [x, y] : {std::pair{1, 4}, {1, 13}, {300, 8}, {648, 4}, {648, 13}})
            QCOMPARE(Pixel(wave, x, y), colour);
        QCOMPARE(Pixel(wave, 300, 3), rgb::kWhite);
        QCOMPARE(Pixel(wave, 300, 14), rgb::kWhite);
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    void init() {
        window = StartedWindow();
        QCOMPARE(window->State().BufferSamples, 1048576);
        QVERIFY(window->State().SampleBuffer != nullptr);
    }

    void cleanup() { window.reset(); }

    void zoomAllAfterADemoFillShowsTheBandBeforeSampleZero() {
        Podcore().DemoData();
        window->ZoomAllSetting();
        window->RedrawWaveforms();
        const AppState& state = window->State();
        QCOMPARE(state.ScreenStart, -104858);
        QCOMPARE(state.Scale, 1939);
        QCOMPARE(state.CenterSample, 524348);

        for (int row = 0; row < kRows; ++row) {
            const PictureSurface* wave = window->Wave[static_cast<size_t>(row)];
            QCOMPARE(Pixel(wave, 0, 8), rgb::kWhite);
            for (int x = 1; x <= 52; ++x)
                QCOMPARE(Pixel(wave, x, 8), RowColour(row));
            // Past the end of the data: (1153434 / 1939) - 2 = 592.
            QCOMPARE(Pixel(wave, 600, 8), RowColour(row));
        }
        QCOMPARE(RowColour(16), rgb::kBlack);
        QCOMPARE(RowColour(17), 0x804000u);
        QCOMPARE(RowColour(19), 0xFF8000u);
        // RES (bit 19) is high in the first 209716 samples, VDD (bit 20) low.
        QCOMPARE(Pixel(window->Wave[17], 100, 4), RowColour(17));
        QCOMPARE(Pixel(window->Wave[17], 100, 13), rgb::kWhite);
        QCOMPARE(Pixel(window->Wave[16], 100, 13), RowColour(16));
        QCOMPARE(Pixel(window->Wave[16], 100, 4), rgb::kWhite);
        // P0 changes in every column of data.
        QCOMPARE(Pixel(window->Wave[0], 300, 8), RowColour(0));
        // Trigger and both cursors at sample 0, column 54.08: the X mark lies on top.
        QCOMPARE(Pixel(window->Wave[5], 54, 2), rgb::kBlue);
        QCOMPARE(Pixel(window->Wave[5], 53, 2), rgb::kDarkBlue);
    }

    void runsOfLowThenHighJoinAtTheChange() {
        // P1 low in samples 0 to 2, high from sample 3 on.
        for (uint32_t k = 0; k < 1000; ++k)
            Samples()[k] = k < 3 ? 0u : 2u;
        ShowSamplesFrom(0);
        window->RedrawWaveforms();
        const PictureSurface* wave = window->Wave[1];
        const QRgb brown = RowColour(1);
        for (int y = 10; y <= 13; ++y)
            QCOMPARE(Pixel(wave, 0, y), brown);
        QCOMPARE(Pixel(wave, 0, 9), rgb::kWhite);
        for (int x = 0; x <= 4; ++x)
            QCOMPARE(Pixel(wave, x, 13), brown);
        for (int y = 4; y <= 13; ++y)
            QCOMPARE(Pixel(wave, 4, y), brown);
        for (int x = 4; x < 649; ++x)
            QCOMPARE(Pixel(wave, x, 4), brown);
        QCOMPARE(Pixel(wave, 3, 4), rgb::kWhite);
        QCOMPARE(Pixel(wave, 5, 13), rgb::kWhite);
        QCOMPARE(Pixel(wave, 200, 8), rgb::kWhite);
    }

    void aLastLowColumnAfterAChangeEndsTheRunsUndrawn() {
        // P1 high in samples 0 to 647, low in sample 648: the runs end (high, 649), (low, 0).
        for (uint32_t k = 0; k < 1000; ++k)
            Samples()[k] = k < 648 ? 2u : 0u;
        ShowSamplesFrom(0);
        window->RedrawWaveforms();
        const PictureSurface* wave = window->Wave[1];
        QCOMPARE(Pixel(wave, 648, 4), RowColour(1));
        QCOMPARE(Pixel(wave, 648, 13), rgb::kWhite);
        QCOMPARE(Pixel(wave, 648, 8), rgb::kWhite);
    }

    void aRowThatChangesInEveryColumnIsOneBand() {
        Podcore().DemoData();
        window->ZoomAllSetting();
        AppState& state = window->State();
        state.XCursor = state.OCursor = state.TriggerSample = 2000000;
        window->RedrawWaveforms();
        // P0 to P10 change within every 1939 samples, and the view reaches beyond the data.
        for (int row = 0; row <= 10; ++row)
            VerifyBand(row);
    }

    void withoutABufferEveryRowIsOneBandAndTheOverviewStaysEmpty() {
        window->State().SampleBuffer = nullptr;
        window->State().BufferSamples = 0;
        ShowSamplesFrom(0);
        window->RedrawWaveforms();
        for (int row = 0; row < kRows; ++row)
            VerifyBand(row);
        QVERIFY(!Holds(window->Overview, rgb::kGrey));
    }

    void aTriggerAtColumnZeroIsNotDrawn() {
        ShowSamplesFrom(0);
        window->State().TriggerSample = 0;
        window->RedrawWaveforms();
        for (const PictureSurface* wave : window->Wave) {
            QVERIFY(!Holds(wave, rgb::kRed));
            QVERIFY(!Holds(wave, rgb::kDarkRed));
        }
        QVERIFY(!Holds(window->XWindow, rgb::kDarkRed));

        window->State().TriggerSample = 100;
        window->RedrawWaveforms();
        for (const PictureSurface* wave : window->Wave) {
            QCOMPARE(Pixel(wave, 100, 0), rgb::kRed);
            QCOMPARE(Pixel(wave, 100, 16), rgb::kRed);
            QCOMPARE(Pixel(wave, 99, 8), rgb::kDarkRed);
            QCOMPARE(Pixel(wave, 101, 8), rgb::kDarkRed);
            QCOMPARE(Pixel(wave, 98, 8), rgb::kWhite);
        }
        QVERIFY(Holds(window->XWindow, rgb::kDarkRed));
    }

    void marksAreDrawnTriggerThenOThenX() {
        ShowSamplesFrom(0);
        AppState& state = window->State();
        state.TriggerSample = state.OCursor = state.XCursor = 200;
        window->RedrawWaveforms();
        QCOMPARE(Pixel(window->Wave[7], 200, 8), rgb::kBlue);
        QCOMPARE(Pixel(window->Wave[7], 201, 8), rgb::kDarkBlue);

        state.XCursor = 400;
        window->RedrawWaveforms();
        QCOMPARE(Pixel(window->Wave[7], 200, 8), rgb::kGreen);
        QCOMPARE(Pixel(window->Wave[7], 400, 8), rgb::kBlue);
    }

    void theTimeScaleShowsTimesOnlyWithTheInternalClock() {
        Podcore().DemoData();
        window->ZoomAllSetting();
        window->RedrawWaveforms();
        QVERIFY(Holds(window->TimeScaleStrip, rgb::kBlack));
        for (int k = 1; k <= 9; ++k) {
            if (k != 5) // the centre line covers the tip of the middle tick
                QCOMPARE(Pixel(window->Wave[19], qRound(k * 64.9), 3), rgb::kBlack);
        }
        for (const PictureSurface* wave : window->Wave)
            QCOMPARE(Pixel(wave, 325, 16), rgb::kLightGrey);

        window->ExternalCLK->setChecked(true);
        window->RedrawWaveforms();
        QVERIFY(!Holds(window->TimeScaleStrip, rgb::kBlack));
        QCOMPARE(Pixel(window->Wave[19], qRound(3 * 64.9), 3), rgb::kBlack);
        QCOMPARE(Pixel(window->Wave[0], 325, 16), rgb::kLightGrey);
    }

    void theOverviewBoxShowsWhereTheViewLies() {
        Podcore().DemoData();
        window->ZoomAllSetting();
        window->RedrawWaveforms();
        const PictureSurface* overview = window->Overview;
        const int width = overview->ScaleWidth();
        QCOMPARE(Pixel(overview, width / 2, 5), rgb::kGrey);
        QCOMPARE(Pixel(overview, width - 1, 5), rgb::kGrey); // 1.2 strips wide from -0.1
        QCOMPARE(Pixel(overview, 0, 5), rgb::kDarkBlue);     // the marks at sample 0, X last

        window->ScaleP->setText(" 16");
        window->ReadZoomSetting();
        window->CenterViewOn(524288);
        window->RedrawWaveforms();
        QCOMPARE(Pixel(overview, width / 2, 5), rgb::kGrey);
        QCOMPARE(Pixel(overview, width / 4, 5), rgb::kWhite);
        QCOMPARE(Pixel(overview, 3 * width / 4, 5), rgb::kWhite);
    }

    void paintingShowsThePictureWithoutRedrawing() {
        window->RedrawWaveforms();
        window->Wave[3]->Picture().fill(uint{kDarkGreen});
        window->XWindow->Picture().fill(QColor(255, 0, 255));
        // Grabbed at the screen's resolution: layout pixel (x, y) starts at device (x, y) x r.
        const auto grabbed = [](QWidget* surface, int x, int y) {
            const QImage picture = surface->grab().toImage();
            const int r = static_cast<int>(picture.devicePixelRatio());
            return picture.pixel(x * r, y * r) & 0xFFFFFF;
        };
        QCOMPARE(grabbed(window->Wave[3], 10, 8), 0x008000u);
        QCOMPARE(grabbed(window->Wave[3], 600, 1), 0x008000u);
        QCOMPARE(grabbed(window->XWindow, 0, 0), rgb::kBlack); // the flat border
        QCOMPARE(grabbed(window->XWindow, 1, 1), 0xFF00FFu);
    }

    void brokenZoomTextsAreReplacedByAValidSetting_data() {
        QTest::addColumn<QString>("scaleP");
        QTest::addColumn<QString>("subScale");
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("expectedSubScale");
        QTest::newRow("both 0") << "0" << "0" << 1 << 0;
        QTest::newRow("negative") << "-5" << "-3" << 1 << 0;
        QTest::newRow("SubScale beside ScaleP") << "5" << "7" << 5 << 0;
        QTest::newRow("SubScale above 128") << "0" << "100000" << 0 << 128;
        QTest::newRow("beyond 32 bits") << "99999999999" << "99999999999" << kMaxScale << 0;
        QTest::newRow("huge real") << "1e300" << "0" << kMaxScale << 0;
        QTest::newRow("no number") << "abc" << "" << 1 << 0;
        QTest::newRow("rounds to 0") << "0" << "0.4" << 1 << 0;
    }

    void brokenZoomTextsAreReplacedByAValidSetting() {
        QFETCH(QString, scaleP);
        QFETCH(QString, subScale);
        QFETCH(int, scale);
        QFETCH(int, expectedSubScale);
        Podcore().DemoData();
        window->ScaleP->setText(scaleP);
        window->SubScale->setText(subScale);
        QTest::mouseClick(window->Command2, Qt::LeftButton);
        const AppState& state = window->State();
        QCOMPARE(state.Scale, scale);
        QCOMPARE(state.SubScale, expectedSubScale);
        QVERIFY(HoldsValidZoom(
            {window->ScaleP->text().toStdString(), window->SubScale->text().toStdString()}));
        QVERIFY(state.CenterSample >= 0 && state.CenterSample <= state.BufferSamples);
        // The steps go on from the corrected setting.
        window->ZoomInStep();
        window->RedrawWaveforms();
        QVERIFY(IsValidZoom(state.Scale, state.SubScale));
    }
};

} // namespace norrik

QTEST_MAIN(norrik::WaveformRenderingTest)
#include "waveform_rendering_test.moc"
