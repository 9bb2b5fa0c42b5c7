// The window under a locale with a decimal comma, as Qt applies the user's locale at start:
// what the window writes as number text it reads back, and every number it shows or reads has
// a '.' decimal point.
#include "clickable_picture.h"
#include "decoders_ui/serial_decode.h"
#include "file_dialog.h"
#include "window_under_test.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <cstring>

using namespace norrik;

class CommaLocaleTest : public QObject {
    Q_OBJECT

    QTemporaryDir workingFolder; // for the decoder's scratch file

private slots:
    void initTestCase() {
        QVERIFY(QDir::setCurrent(workingFolder.path()));
        // The test's environment asks for de_DE.UTF-8, made in the build tree: without it the
        // cases below would prove nothing.
        QCOMPARE(std::strcmp(std::localeconv()->decimal_point, ","), 0);
        // A virtual pod, so that an opened capture is decoded rather than the demo text shown.
        qputenv("PODCORE_DRIVER", "sim");
        std::string error;
        QVERIFY2(BindBuiltPodcore(error), error.c_str());
    }

    // Zoom All writes a fractional scale; Zoom In reads it back and halves it.
    void zoomFieldsKeepTheirPoint() {
        auto window = StartedWindow();
        QTest::mouseClick(window->Command5, Qt::LeftButton);
        QCOMPARE(window->ScaleP->text(), QString(" 1938.81540832049"));
        QTest::mouseClick(window->Command3, Qt::LeftButton);
        QCOMPARE(window->ScaleP->text(), QString(" 969"));
        QCOMPARE(window->State().Scale, 969);
    }

    void storedSettingsAreReadWithAPoint() {
        QSettings(QSettings::IniFormat, QSettings::UserScope, "plinketktla", "plinketktla")
            .setValue("Startup/Tarnwick", " 2.6");
        auto window = StartedWindow();
        QVERIFY(!window->TW2Image[3]->isHidden()); // 2.6 is nearest to 3
    }

    // The baud rate field of a capture opened in the window, typed with a point and an
    // exponent, times the bits as the whole number does.
    void baudRateFieldReadsAPoint() {
        auto window = StartedWindow();
        SetFileDialogRunner([](FileDialogKind, const QString&) {
            return std::optional<ChosenFile>({QString(CAPTURES) + "/uart_hello_9600.nrk", {}});
        });
        window->OpenCapture();
        SetFileDialogRunner({});
        window->MenuSerial_Click();
        SerialDecode& serial = *window->SerialDecodeWindow;
        serial.signal->setCurrentText("P0");
        serial.Command1->click();
        const std::string whole = serial.OutputText();
        QVERIFY2(whole.find("'H' = 0x48\r\n'e' = 0x65") != std::string::npos,
                 whole.substr(0, 300).c_str());
        serial.BaudRate->selectAll();
        QTest::keyClicks(serial.BaudRate, "9.6e3");
        serial.Command1->click();
        QCOMPARE(serial.OutputText(), whole);
    }
};

QTEST_MAIN(CommaLocaleTest)
#include "comma_locale_test.moc"
