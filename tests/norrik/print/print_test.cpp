#include "form1.h"
#include "message_box.h"
#include "pdf_pages.h"
#include "print_window.h"
#include "printer_dialog.h"

#include <QClipboard>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace norrik;

namespace {

// A window of known size and colour stands in for the main window.
std::unique_ptr<QWidget> SolidWindow(int width, int height) {
    auto window = std::make_unique<QWidget>();
    window->setFixedSize(width, height);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(200, 0, 0));
    window->setPalette(palette);
    window->show();
    return window;
}

// The bounding box of the reddish pixels.
QRect RedArea(const QImage& page) {
    QRect area;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 80 && c.blue() < 80)
                area |= QRect(x, y, 1, 1);
        }
    return area;
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

    // A PDF printer with no margins, so the page's top-left is the printed picture's.
    static void ToPdf(QPrinter& printer, const QString& file, QSizeF pagePoints) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(pagePoints, QPageSize::Point));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    }

private slots:
    // The print system is pointed at a server that does not exist, so that no test reaches a
    // printer of the machine, whatever its default printer is.
    void initTestCase() {
        QVERIFY(folder.isValid());
        qputenv("CUPS_SERVER", folder.filePath("no-print-server").toLocal8Bit());
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        QVERIFY(QPrinterInfo::availablePrinters().isEmpty());
        QVERIFY(QPrinterInfo::defaultPrinterName().isEmpty());
    }

    void printedSizeFitsThePageWidth_data() {
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<QSize>("printed");
        QTest::newRow("page wider") << 9000 << QSize(4500, 3000);
        QTest::newRow("page as wide") << 4500 << QSize(4500, 3000);
        QTest::newRow("page narrower") << 2000 << QSize(2000, 1333);
        QTest::newRow("rounded to whole units") << 2001 << QSize(2001, 1334);
    }
    void printedSizeFitsThePageWidth() {
        QFETCH(int, pageWidth);
        QFETCH(QSize, printed);
        QCOMPARE(PrintedSize(4500, 3000, pageWidth), printed);
    }

    void menuPrintsOnePagePerCopyAtTheTopLeft_data() {
        QTest::addColumn<QSizeF>("page");
        QTest::addColumn<QRect>("picture");
        // A 300 x 200 pixel window is 225 x 150 points.
        QTest::newRow("wider page, own size") << QSizeF(595, 842) << QRect(0, 0, 225, 150);
        QTest::newRow("narrower page, scaled") << QSizeF(100, 400) << QRect(0, 0, 100, 67);
    }
    void menuPrintsOnePagePerCopyAtTheTopLeft() {
        QFETCH(QSizeF, page);
        QFETCH(QRect, picture);
        auto window = SolidWindow(300, 200);
        Form1 form;
        const QString file = folder.filePath(QString("menu-%1.pdf").arg(page.width()));
        SetPrinterDialogRunner([&](QPrinter& printer, QWidget*) {
            ToPdf(printer, file, page);
            printer.setCopyCount(3);
            return true;
        });
        QApplication::setActiveWindow(window.get());
        form.PrintMenu_Click();
        SetPrinterDialogRunner({});

        const QFileInfo info(file);
        const QStringList files = {file, info.path() + "/" + info.completeBaseName() + "-2.pdf",
                                   info.path() + "/" + info.completeBaseName() + "-3.pdf"};
        for (const QString& copy : files) {
            QCOMPARE(PdfPages(copy), 1);
            const QRect red = RedArea(FirstPdfPage(copy));
            QVERIFY2(qAbs(red.left() - picture.left()) <= 1 && qAbs(red.top()) <= 1,
                     qPrintable(copy));
            QVERIFY2(qAbs(red.width() - picture.width()) <= 2, qPrintable(copy));
            QVERIFY2(qAbs(red.height() - picture.height()) <= 2, qPrintable(copy));
        }
        // The window's picture stays on the clipboard, with every pixel the screen has of it.
        QCOMPARE(QApplication::clipboard()->pixmap().size(),
                 QSize(300, 200) * window->devicePixelRatio());
    }

    void cancelPrintsNothingAndKeepsTheClipboard() {
        Form1 form;
        QApplication::clipboard()->setText("kept");
        const QString file = folder.filePath("cancelled.pdf");
        SetPrinterDialogRunner([&](QPrinter& printer, QWidget*) {
            ToPdf(printer, file, QSizeF(595, 842));
            return false;
        });
        form.PrintMenu_Click();
        SetPrinterDialogRunner({});
        QVERIFY(!QFile::exists(file));
        QCOMPARE(QApplication::clipboard()->text(), QString("kept"));
    }

    void buttonWithoutAPrinterTellsTheUser() {
        Form1 form;
        QStringList shown;
        SetMessageAnswerer([&](const MessageRequest& request) {
            shown << request.text;
            return QMessageBox::Ok;
        });
        // No printer can be reached: the job cannot start.
        form.Command17_Click();
        SetMessageAnswerer({});
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].contains("could not be printed"));
    }
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
