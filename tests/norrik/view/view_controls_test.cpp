// The view's controls where the layout puts them, with their captions and tool tips, and the
// hidden zoom fields and Draw button working from the keyboard's reach.
#include "form1.h"
#include "view/picture_surface.h"
#include "window_under_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace norrik {

class ViewControlsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form1> window;

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    void init() { window = StartedWindow(); }

    void cleanup() { window.reset(); }

    void signalRowsAndStripsSitAtTheirPixels() {
        for (int row = 0; row < kRows; ++row) {
            const PictureSurface* wave = window->Wave[static_cast<size_t>(row)];
            QCOMPARE(wave->geometry(), QRect(240, 32 + 16 * (19 - row), 649, 17));
            QCOMPARE(wave->ScaleWidth(), 649);
            QCOMPARE(wave->ScaleHeight(), 17);
        }
        QCOMPARE(window->TimeScaleStrip->geometry(), QRect(240, 16, 649, 17));
        QCOMPARE(window->XWindow->geometry(), QRect(240, 352, 649, 17));
        QCOMPARE(window->XWindow->ScaleWidth(), 647); // inside its border
        QCOMPARE(window->Overview->parentWidget(), window->Frame2);
        QCOMPARE(window->Overview->geometry(), QRect(24, 8, 169, 17));
    }

    void displayControlsCarryTheirCaptionsAndToolTips() {
        QCOMPARE(window->Frame2->title(), QString("Display Control"));
        const std::pair<QPushButton*, const char*> buttons[] = {
            {window->Command3, "Zoom In"}, {window->Command4, "Zoom Out"},
            {window->Command5, "Zoom All"}, {window->ScrollLeft, "<"},
            {window->ScrollRight, ">"}};
        for (const auto& [button, caption] : buttons) {
            QCOMPARE(button->text(), QString(caption));
            QCOMPARE(button->parentWidget(), window->Frame2);
        }
        QCOMPARE(window->Command3->toolTip(), QString("Click here to zoom into the captured data"));
        QCOMPARE(window->Command4->toolTip(),
                 QString("Click here to zoom out to see more of the captured data per screen"));
        QCOMPARE(window->Command5->toolTip(),
                 QString("Click here to zoom out to see all of the data captured on one screen"));
        QCOMPARE(window->Overview->toolTip(),
                 QString("Overview of entire capture buffer.  Click here to center the viewing "
                         "screen around that portion of the buffer."));
        QCOMPARE(window->XValue->toolTip(),
                 QString("Time at the X cursor relative to the setting below"));
        QCOMPARE(window->OValue->toolTip(),
                 QString("Time at the O cursor relative to the setting below"));
        QCOMPARE(window->XtoOValue->toolTip(),
                 QString("Time delta from the X Cursor to the O Cursor"));
        QCOMPARE(window->Label7->text(), QString("X"));
        QCOMPARE(window->Label6->text(), QString("O"));
        QCOMPARE(window->Label10->text(), QString("O-X"));
    }

    void zoomFieldsAreHiddenButEditableAndDrawRedraws() {
        QCOMPARE(window->ScaleP->text(), QString("2"));
        QCOMPARE(window->SubScale->text(), QString("0"));
        QCOMPARE(window->Scale->text(), QString("Scale"));
        QCOMPARE(window->Label1->text(), QString("SubScale"));
        QCOMPARE(window->Command2->text(), QString("Draw"));
        for (const QWidget* hidden : {static_cast<QWidget*>(window->ScaleP),
                                      static_cast<QWidget*>(window->SubScale),
                                      static_cast<QWidget*>(window->Command2)})
            QVERIFY(hidden->x() >= window->client->width());
        QVERIFY(window->ScaleP->focusPolicy() & Qt::TabFocus);
        QVERIFY(window->SubScale->focusPolicy() & Qt::TabFocus);

        window->ScaleP->setText(" 4");
        window->State().ScreenStart = 1000;
        QTest::mouseClick(window->Command2, Qt::LeftButton);
        QCOMPARE(window->State().Scale, 4);
        QCOMPARE(window->State().CenterSample, 1000 + 1298); // 324.5 x 4 from the start
    }
};

} // namespace norrik

QTEST_MAIN(norrik::ViewControlsTest)
#include "view_controls_test.moc"
