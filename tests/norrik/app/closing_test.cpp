// Ending the real program, run as a child process on a private X server: closing the main
// window or SIGINT/SIGTERM during a capture, with a dialog open, while a decoder runs or while
// a file is saved ends it at once with status 0 and nothing on standard error. A Qt input
// plugin of the tests (window_driver) works the window from inside the program.
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

constexpr int kSceneTimeoutMs = 40000;
constexpr int kEndTimeoutMs = 10000;
constexpr qint64 kSavedCaptureBytes = 80 + 4 * 1048576;

} // namespace

class ClosingTest : public QObject {
    Q_OBJECT

    QProcess xServer;
    QString display;

private slots:
    void initTestCase() {
        // The server picks a free display and writes its number on our pipe.
        xServer.start("Xvfb",
                      {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        QVERIFY2(xServer.waitForStarted(), "Xvfb is needed (package xvfb)");
        QTRY_VERIFY_WITH_TIMEOUT(xServer.canReadLine(), 20000);
        display = ":" + QString::fromLatin1(xServer.readLine()).trimmed();
    }

    void cleanupTestCase() {
        xServer.terminate();
        xServer.waitForFinished();
    }

    void endsAtOnceWithStatusZeroAndNothingOnStandardError_data() {
        QTest::addColumn<QString>("scene");
        QTest::addColumn<int>("signal"); // sent once the scene stands; 0 when the driver ends it
        QTest::addColumn<QString>("stands");
        QTest::newRow("capture streaming, close button")
            << "capture-close" << 0 << "capture streaming";
        QTest::newRow("capture streaming, SIGTERM")
            << "capture-signal" << SIGTERM << "capture streaming";
        QTest::newRow("capture streaming, SIGINT")
            << "capture-signal" << SIGINT << "capture streaming";
        QTest::newRow("message box open during a capture, SIGTERM")
            << "dialog-signal" << SIGTERM << "dialog open";
        QTest::newRow("decoder running, close button") << "decoder-close" << 0 << "decoder running";
        QTest::newRow("file being saved, SIGTERM") << "save-signal" << 0 << "saving";
    }
    void endsAtOnceWithStatusZeroAndNothingOnStandardError() {
        QFETCH(QString, scene);
        QFETCH(int, signal);
        QFETCH(QString, stands);
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        environment.insert("DISPLAY", display);
        environment.insert("XDG_RUNTIME_DIR", home.path()); // private to the user, as required
        environment.insert("XDG_CONFIG_HOME", home.path());
        environment.insert("XDG_STATE_HOME", home.path());
        environment.insert("QT_PLUGIN_PATH", WINDOW_DRIVER_PLUGINS);
        environment.insert("QT_QPA_GENERIC_PLUGINS", "norrikdriver:" + scene);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(home.path());
        program.start(NORRIK_PROGRAM, {"--virtual-pod"});
        QVERIFY(program.waitForStarted());

        QByteArray output;
        const QByteArray marker = "driver: " + stands.toUtf8() + "\n";
        QTRY_VERIFY_WITH_TIMEOUT((output += program.readAllStandardOutput()).contains(marker) ||
                                     output.contains("driver: failed") ||
                                     program.state() == QProcess::NotRunning,
                                 kSceneTimeoutMs);
        QVERIFY2(output.contains(marker), output.right(300).constData());
        // The streams print a digit per transfer and an "a" per stored block.
        const QString beforeMarker = QString::fromLatin1(output.left(output.indexOf(marker)));
        if (scene.startsWith("capture") || scene.startsWith("dialog"))
            QVERIFY2(beforeMarker.contains(QRegularExpression("[12a]{20}")),
                     qPrintable(beforeMarker.right(300)));
        if (signal != 0)
            QCOMPARE(::kill(static_cast<pid_t>(program.processId()), signal), 0);

        // The driver's own ends may be over already.
        QVERIFY(program.state() == QProcess::NotRunning || program.waitForFinished(kEndTimeoutMs));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), QString());
        if (scene == "save-signal") {
            // Written whole before the end, or not begun: never a part of a file.
            const QFileInfo saved(home.filePath("saved.nrk"));
            QVERIFY(!saved.exists() || saved.size() == kSavedCaptureBytes);
            QCOMPARE(QDir(home.path()).entryList({"saved.nrk.tmp*"}), QStringList());
        }
    }
};

QTEST_GUILESS_MAIN(ClosingTest)
#include "closing_test.moc"
