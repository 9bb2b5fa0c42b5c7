// The captions of the two groups on screen read whole: their frames stay where the layout puts
// them, no line of the frame crosses the caption, and no control in the group covers it.
#include "form1.h"
#include "layout.h"
#include "window_under_test.h"

#include <QGroupBox>
#include <QtTest>

namespace norrik {
namespace {

constexpr QRgb kFrameLine = qRgb(104, 110, 124);

bool IsCaptionInk(QRgb pixel) {
    return qGray(pixel) < 90;
}

} // namespace

class GroupCaptionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    void captionsReadWholeOnTheirFrames_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("display") << "Display Control" << QRect(3720, 5640, 3255, 1335);
        QTest::newRow("acquisition") << "Acquisition Control" << QRect(7080, 5640, 4575, 1335);
    }

    void captionsReadWholeOnTheirFrames() {
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        const std::unique_ptr<Form1> window = StartedWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QGroupBox* frame = caption == "Display Control" ? window->Frame2 : window->Frame1;
        QCOMPARE(frame->title(), caption);
        QCOMPARE(frame->geometry(), Twips(twips.x(), twips.y(), twips.width(), twips.height()));

        // The band above the group's first row of controls, as the window shows it.
        constexpr int kBand = 8;
        for (const QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisibleTo(frame) && child->y() < frame->height())
                QVERIFY2(child->y() >= kBand, qPrintable(child->objectName()));
        const QImage shown = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int r = static_cast<int>(shown.devicePixelRatio());
        int inkLeft = shown.width();
        int inkRight = -1;
        for (int y = 0; y < kBand * r; ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (IsCaptionInk(shown.pixel(x, y))) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                }
        // As wide as the caption's text, give or take its letters' shapes.
        const int captionWidth = frame->fontMetrics().horizontalAdvance(caption) * r;
        QVERIFY2(inkRight - inkLeft > captionWidth / 2, qPrintable(caption));

        bool lineSeen = false;
        for (int y = 0; y < kBand * r; ++y) {
            for (int x = inkLeft; x <= inkRight; ++x)
                QVERIFY2(shown.pixel(x, y) != (0xFF000000 | kFrameLine),
                         qPrintable(QString("line at %1,%2").arg(x).arg(y)));
            // The top line runs on beyond the caption.
            lineSeen = lineSeen || shown.pixel(inkRight + 10 * r, y) == (0xFF000000 | kFrameLine);
        }
        QVERIFY(lineSeen);
    }
};

} // namespace norrik

QTEST_MAIN(norrik::GroupCaptionsTest)
#include "group_captions_test.moc"
