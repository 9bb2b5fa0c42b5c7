// A capture of the virtual pod's bus traffic, used as a user would next: Find Next and Find
// Previous walk the trigger pattern's occurrences, and the menu prints the window showing it.
#include "call_log.h"
#include "form1.h"
#include "linked_pod_window.h"
#include "pdf_pages.h"
#include "printer_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

using namespace norrik;

namespace {

// The plain reading of a two-step pattern on one line, high then low: from `from` on, the first
// high sample, then the first low sample after it; the occurrence's target is the sample after.
int32_t NextFallTarget(const std::vector<uint32_t>& samples, uint32_t bit, size_t from) {
    size_t i = from;
    while (i < samples.size() && (samples[i] & bit) == 0)
        ++i;
    for (++i; i < samples.size(); ++i) {
        if ((samples[i] & bit) == 0)
            return static_cast<int32_t>(i + 1);
    }
    return -1;
}

} // namespace

class VirtualPodCaptureUseTest : public QObject {
    Q_OBJECT

    SimDriver* driver = nullptr;
    std::shared_ptr<VirtualPod> pod;
    std::unique_ptr<Form1> form;
    std::vector<uint32_t> samples;
    QTemporaryDir folder;

private slots:
    // One capture of the traffic at 24 Msps, kept for every case.
    void initTestCase() {
        UsePrivateFolders();
        driver = FreshVirtualDriver();
        pod = PlugIn(*driver, 1);
        form = std::make_unique<Form1>();
        form->Form_Load();
        form->show();
        QVERIFY(!form->State().DemoMode);
        Form1::SelectEntry(form->RateList, form->RateList->findText("24 Msps"));
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([this] { return form->Command1->text() == "Acquire"; }, 10000));
        QCOMPARE(form->Status->text(), QString("Stopped"));
        QVERIFY(form->State().HaveCapture);
        const int32_t length = form->State().BufferSamples;
        for (int32_t i = 0; i < length; ++i)
            samples.push_back(static_cast<uint32_t>(Podcore().LoggedData(uint32_t(i))));
    }

    void findWalksTheOccurrencesBothWays() {
        // The busiest of the low lines, so that the walk meets many occurrences.
        int line = -1;
        size_t mostEdges = 0;
        for (int bit = 0; bit < 16; ++bit) {
            size_t edges = 0;
            for (size_t i = 1; i < samples.size(); ++i)
                edges += ((samples[i] ^ samples[i - 1]) >> bit) & 1;
            if (edges > mostEdges) {
                mostEdges = edges;
                line = bit;
            }
        }
        QVERIFY2(mostEdges >= 40, "the traffic moves no line");
        const uint32_t bit = 1u << line;

        form->Command6_Click();
        form->Trig_Click(line);      // step 1: High
        form->Trig_Click(32 + line); // step 2: High
        form->Trig_Click(32 + line); // step 2: Low
        form->CenterViewOn(0);

        std::vector<int32_t> expected;
        size_t from = 1;
        for (int k = 0; k < 20; ++k) {
            const int32_t target = NextFallTarget(samples, bit, from);
            QVERIFY(target > 0);
            expected.push_back(target);
            from = size_t(target) + 1;
        }
        for (int32_t target : expected) {
            form->Command10->click();
            QCOMPARE(form->State().CenterSample, target);
        }
        for (auto target = expected.rbegin() + 1; target != expected.rend(); ++target) {
            form->Command11->click();
            QCOMPARE(form->State().CenterSample, *target);
        }
        // Before the first occurrence there is none: the view stays.
        form->Command11->click();
        QCOMPARE(form->State().CenterSample, expected.front());
    }

    // The menu's print of the window showing the capture: one page, the window's picture at the
    // page's top left at the window's own size.
    void printedPageShowsTheCaptureWindow() {
        form->Command5->click(); // Zoom All
        const QString file = folder.filePath("capture.pdf");
        SetPrinterDialogRunner([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            printer.setPageSize(QPageSize(QSizeF(800, 600), QPageSize::Point));
            printer.setPageMargins(QMarginsF(0, 0, 0, 0));
            return true;
        });
        QApplication::setActiveWindow(form.get());
        const QImage window = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        form->PrintMenu_Click();
        SetPrinterDialogRunner({});

        QCOMPARE(PdfPages(file), 1);
        // At 96 dots per inch one page pixel is one window pixel.
        const QImage page = FirstPdfPage(file, 96).convertToFormat(QImage::Format_RGB32);
        QVERIFY(page.width() >= window.width() && page.height() >= window.height());
        const QString shots = qEnvironmentVariable("NORRIK_SHOT_DIR");
        if (!shots.isEmpty())
            page.save(shots + "/printed-virtual-pod-capture.png");
        // Compared in blocks of 8 x 8 pixels, each allowed to sit a pixel off: the page's
        // picture may be placed and smoothed by a fraction of a pixel, which changes the thin
        // waveform strokes pixel by pixel but not the colour of an area.
        constexpr int kBlock = 8;
        const auto mean = [](const QImage& image, int left, int top, int shift) {
            int sum = 0;
            for (int y = top; y < top + kBlock; ++y)
                for (int x = left; x < left + kBlock; ++x)
                    sum += (image.pixel(x, y) >> shift) & 0xFF;
            return sum / double(kBlock * kBlock);
        };
        double largest = 0;
        double total = 0;
        int blocks = 0;
        for (int top = kBlock; top + 2 * kBlock <= window.height(); top += kBlock)
            for (int left = kBlock; left + 2 * kBlock <= window.width(); left += kBlock) {
                double nearest = 255;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        double worst = 0;
                        for (int shift : {0, 8, 16})
                            worst = std::max(worst, qAbs(mean(window, left, top, shift) -
                                                         mean(page, left + dx, top + dy, shift)));
                        nearest = std::min(nearest, worst);
                    }
                largest = std::max(largest, nearest);
                total += nearest;
                ++blocks;
            }
        // Dense strokes may bleed a little in the page's compressed picture; a different or a
        // missing picture differs by far more, in most blocks.
        QVERIFY2(largest < 64 && total / blocks < 10,
                 qPrintable(QString("block differences: largest %1, mean %2")
                                .arg(largest)
                                .arg(total / blocks)));
        // Beyond the picture the page is blank.
        QCOMPARE(QColor(page.pixel(window.width() + 5, window.height() + 5)), QColor(Qt::white));
    }

    void cleanupTestCase() {
        form.reset();
        Podcore().StopCapture();
    }
};

QTEST_MAIN(VirtualPodCaptureUseTest)
#include "virtual_pod_capture_use_test.moc"
