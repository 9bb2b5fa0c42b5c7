// On a screen of twice the pixel density the window keeps its layout and its 649 columns, and
// its pictures hold the screen's own pixels: artwork and texts drawn at that resolution, not
// pictures of the layout's size scaled up.
#include "artwork.h"
#include "clickable_picture.h"
#include "trigger_pictures.h"
#include "view_test_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <QLabel>
#include <QtTest>

namespace norrik {
namespace {

constexpr int kDensity = 2;

// Whether some 2 x 2 block of device pixels within the rectangle (in device pixels) is not of one
// colour: detail finer than a layout pixel, which a picture scaled up from the layout's size
// cannot have.
bool HasDetailFinerThanALayoutPixel(const QImage& picture, const QRect& area) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb corner = image.pixel(x, y);
            if (image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner ||
                image.pixel(x + 1, y + 1) != corner)
                return true;
        }
    return false;
}

bool IsSharpPixmap(const QPixmap& pixmap, QSize layoutSize) {
    return pixmap.devicePixelRatio() == kDensity && pixmap.size() == layoutSize * kDensity;
}

} // namespace

class DoubleDensityTest : public QObject, DemoCaptureWindow {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(qGuiApp->devicePixelRatio() == kDensity, "run with QT_SCALE_FACTOR=2");
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    void init() { StartWithDemoCapture(); }

    void cleanup() { window.reset(); }

    void theLayoutAndItsColumnsKeepTheirSize() {
        QCOMPARE(window->client->size(), QSize(905, 518));
        for (const PictureSurface* wave : window->Wave) {
            QCOMPARE(wave->size(), QSize(649, 17));
            QCOMPARE(wave->ScaleWidth(), 649);
            QCOMPARE(wave->Picture().size(), QSize(649, 17) * kDensity);
            QCOMPARE(wave->Picture().devicePixelRatio(), double(kDensity));
        }
        QCOMPARE(window->RowWidth(), 649);
        window->ZoomAllSetting();
        window->RedrawWaveforms();
        QCOMPARE(State().Scale, 1939); // 1.2 x 1048576 / 649
        QCOMPARE(State().ScreenStart, -104858);

        // The pointer is in the layout's pixels: a click at strip pixel 101 is column 100.
        QTest::mouseClick(window->XWindow, Qt::LeftButton, {}, QPoint(101, 8));
        QCOMPARE(State().XCursor, -104858 + 100 * 1939);
    }

    void artworkAndTriggerPicturesHoldTheScreensPixels() {
        QVERIFY(IsSharpPixmap(window->background->pixmap(), QSize(913, 520)));
        // The pin legend's letters have edges within a layout pixel.
        QVERIFY(HasDetailFinerThanALayoutPixel(
            window->background->pixmap().toImage(),
            QRect(140 * kDensity, 30 * kDensity, 60 * kDensity, 330 * kDensity)));
        QVERIFY(IsSharpPixmap(ModulePicture(0), QSize(81, 153)));
        for (int level = kDontCare; level <= kFall; ++level)
            QVERIFY(IsSharpPixmap(TriggerLevelPicture(level), QSize(11, 11)));
        QVERIFY(IsSharpPixmap(window->Trig[0]->pixmap(), QSize(11, 11)));
        QVERIFY(IsSharpPixmap(window->CLKEdge->pixmap(), QSize(11, 11)));
    }

    void rowsAreDrawnInBlocksOfTheirLayoutPixels() {
        State().XCursor = State().OCursor = State().TriggerSample = 900000; // marks elsewhere
        window->ZoomAllSetting();
        window->RedrawWaveforms();
        // Row 0 before sample 0 is a band from layout pixel (1, 4) to (53, 13).
        const PictureSurface* wave = window->Wave[0];
        const QImage& picture = wave->Picture();
        const QRgb paper = 0xFFFFFFFF;
        const QRgb trace = picture.pixel(2 * kDensity, 8 * kDensity);
        QVERIFY(trace != paper);
        const std::pair<QPoint, bool> pixels[] = {
            {{1 * kDensity, 4 * kDensity}, true},
            {{1 * kDensity + 1, 4 * kDensity + 1}, true},
            {{53 * kDensity + 1, 13 * kDensity + 1}, true},
            {{1 * kDensity - 1, 8 * kDensity}, false},
            {{1 * kDensity, 4 * kDensity - 1}, false},
            {{1 * kDensity, 14 * kDensity}, false},
        };
        for (const auto& [device, inBand] : pixels)
            QVERIFY2((picture.pixel(device) == trace) == inBand,
                     qPrintable(QString("%1,%2").arg(device.x()).arg(device.y())));
    }

    void textsAreRenderedAtTheScreensResolution() {
        window->ZoomAllSetting();
        window->RedrawWaveforms();
        const QRect whole(QPoint(0, 0), window->TimeScaleStrip->Picture().size());
        QVERIFY(HasDetailFinerThanALayoutPixel(window->TimeScaleStrip->Picture(), whole));
        QVERIFY(HasDetailFinerThanALayoutPixel(
            window->XValue->Picture(), QRect(QPoint(0, 0), window->XValue->Picture().size())));
    }

    void theHoverLineInvertsWholeLayoutColumns() {
        window->RedrawWaveforms();
        const QImage before = window->Wave[4]->Picture().copy();
        const QPointF pointer(201, 8); // strip pixel 201 is column 200
        QMouseEvent move(QEvent::MouseMove, pointer, window->XWindow->mapToGlobal(pointer),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window->XWindow, &move);
        const QImage& after = window->Wave[4]->Picture();
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x) {
                const bool inverted = after.pixelIndex(x, y) != before.pixelIndex(x, y);
                QVERIFY2(inverted == (x / kDensity == 200),
                         qPrintable(QString("%1,%2").arg(x).arg(y)));
            }
    }
};

} // namespace norrik

QTEST_MAIN(norrik::DoubleDensityTest)
#include "double_density_test.moc"
