#include "form1.h"
#include "message_box.h"

#include <QFile>
#include <QtTest>

using namespace norrik;

class HelpAboutTest : public QObject {
    Q_OBJECT

private slots:
    void aboutEndsWithTheVersion() {
        Form1 form;
        QString text;
        SetMessageAnswerer([&](const MessageRequest& request) {
            text = request.text;
            return QMessageBox::Ok;
        });
        form.NorrikAbout_Click();
        SetMessageAnswerer({});
        QVERIFY(text.split('\n').last().endsWith("Version 1.2.7"));
    }

    void helpTextLiesBesideTheProgram() {
        // The build puts the tests and the program in one folder, so this is the program's.
        const QString path = Form1::HelpFilePath();
        QCOMPARE(path, QCoreApplication::applicationDirPath() + "/norrikhelp.txt");
        QFile help(path);
        QVERIFY(help.open(QIODevice::ReadOnly));
        QVERIFY(help.readAll().contains("Tarnwick Logic Analyzer"));
    }
};

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
