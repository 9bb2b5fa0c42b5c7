#include "form1.h"
#include "help_text_window.h"
#include "message_box.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace norrik;

class HelpAboutTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QByteArray path = qgetenv("PATH");

    // The desktop's launcher replaced by one that notes what it was asked to open and exits
    // with the given status; without a status there is no launcher at all.
    QString InstallLauncher(std::optional<int> exitStatus) {
        const QString bin = folder.filePath(QString("bin-%1").arg(exitStatus.value_or(-1)));
        QDir().mkpath(bin);
        const QString asked = bin + "/asked";
        if (exitStatus) {
            QFile script(bin + "/xdg-open");
            if (!script.open(QIODevice::WriteOnly))
                return {};
            script.write(QString("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n")
                             .arg(asked)
                             .arg(*exitStatus)
                             .toUtf8());
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.toUtf8());
        return asked;
    }

    static QString Contents(const QString& file) {
        QFile read(file);
        return read.open(QIODevice::ReadOnly) ? QString::fromUtf8(read.readAll()) : QString();
    }

private slots:
    void cleanup() { qputenv("PATH", path); }

    void helpOpensInTheProgramsOwnWindowWithoutAViewer_data() {
        QTest::addColumn<std::optional<int>>("launcherExit");
        QTest::newRow("no launcher") << std::optional<int>();
        QTest::newRow("no viewer for the file") << std::optional<int>(3);
        QTest::newRow("the viewer failed") << std::optional<int>(4);
    }

    void helpOpensInTheProgramsOwnWindowWithoutAViewer() {
        QFETCH(std::optional<int>, launcherExit);
        const QString asked = InstallLauncher(launcherExit);
        Form1 form;
        form.findChild<QAction*>("NorrikHelp")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(form.HelpText != nullptr && form.HelpText->isVisible(), 5000);
        if (launcherExit)
            QCOMPARE(Contents(asked), Form1::HelpFilePath());
        QCOMPARE(form.HelpText->windowTitle(), QString("Tarnwick Logic Analyzer Help"));
        QCOMPARE(form.HelpText->Text->toPlainText(), Contents(Form1::HelpFilePath()));

        // The Help button again: the same window, not a second one.
        HelpTextWindow* shown = form.HelpText;
        QTest::mouseClick(form.Command20, Qt::LeftButton);
        QTest::qWait(300);
        QCOMPARE(form.findChildren<QWidget*>("HelpText").size(), 1);
        QCOMPARE(form.HelpText.data(), shown);
    }

    void aViewerThatTakesTheFileLeavesNoWindowOfOurs() {
        const QString asked = InstallLauncher(0);
        Form1 form;
        QTest::mouseClick(form.Command20, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(Contents(asked), Form1::HelpFilePath(), 5000);
        QTest::qWait(300); // the launcher's exit has been seen
        QVERIFY(form.HelpText == nullptr);
    }

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

    void helpTextLiesBesideTheProgramAndNamesTheToolWindow() {
        // The build puts the tests and the program in one folder, so this is the program's.
        const QString path = Form1::HelpFilePath();
        QCOMPARE(path, QCoreApplication::applicationDirPath() + "/norrikhelp.txt");
        QFile help(path);
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QByteArray text = help.readAll();
        QVERIFY(text.contains("Tarnwick Logic Analyzer"));
        QVERIFY(text.contains("View, Acquisition and Measurement"));
    }
};

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
