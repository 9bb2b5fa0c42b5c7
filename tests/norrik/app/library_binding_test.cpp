#include "message_box.h"
#include "norrik_main.h"
#include "podcore_api.h"

#include <QtTest>

using namespace norrik;

class LibraryBindingTest : public QObject {
    Q_OBJECT

private slots:
    void bindsEveryExportOfTheBuiltLibrary() {
        PodcoreApi api;
        std::string error;
        QVERIFY(LoadPodcore({"/nonexistent/libpodcore.so", PODCORE_LIBRARY}, api, error));
        QVERIFY(api.EnumeratePods != nullptr);
        QVERIFY(api.ControlOut != nullptr);
        QCOMPARE(api.DeleteBuffer(nullptr), 0);
    }

    void missingLibraryIsAMessageAndAFailureStatus() {
        QStringList shown;
        SetMessageAnswerer([&](const MessageRequest& request) {
            shown << request.text;
            return QMessageBox::Ok;
        });
        QCOMPARE(RunNorrik({"/nonexistent/libpodcore.so"}), 1);
        SetMessageAnswerer({});
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].contains("libpodcore.so could not be loaded"));
    }

    void missingExportNamesTheFunction() {
        PodcoreApi api;
        std::string error;
        QVERIFY(!LoadPodcore({PARTIAL_LIBRARY}, api, error));
        QVERIFY2(error.find("lacks the function EnumeratePods") != std::string::npos,
                 error.c_str());
        QVERIFY2(api.LoggedData == nullptr, "a failed binding leaves nothing half bound");
    }
};

QTEST_MAIN(LibraryBindingTest)
#include "library_binding_test.moc"
