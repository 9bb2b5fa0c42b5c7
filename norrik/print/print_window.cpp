#include "print_window.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPainter>
#include <QPrinter>
#include <QWidget>

#include <cmath>

namespace norrik {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kTwipsPerPixel = 15;

// The window as the screen shows it, frame included where the platform draws one.
QPixmap PictureOfActiveWindow(QWidget* fallback) {
    QWidget* window = QApplication::activeWindow();
    if (window == nullptr)
        window = fallback;
    return window == nullptr ? QPixmap() : window->grab();
}

} // namespace

void DelayMilliseconds(int milliseconds) {
    QElapsedTimer started;
    started.start();
    while (started.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

QSize PrintedSize(int windowWidth, int windowHeight, int pageWidth) {
    if (pageWidth >= windowWidth || windowWidth <= 0)
        return {windowWidth, windowHeight};
    const double height = double(pageWidth) / windowWidth * windowHeight;
    return {pageWidth, static_cast<int>(std::nearbyint(height))};
}

bool PrintWindowImage(QPrinter& printer, QWidget* fallback) {
    DelayMilliseconds(1000);
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    const QPixmap grabbed = PictureOfActiveWindow(fallback);
    // On a high-density screen the picture has more pixels than the window: the page sizes
    // follow the window's own size.
    const QSize windowSize = grabbed.deviceIndependentSize().toSize();
    clipboard->setPixmap(grabbed);
    QApplication::processEvents();
    const QPixmap picture = clipboard->pixmap();
    if (picture.isNull())
        return false;

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double deviceUnitsPerTwip = double(printer.resolution()) / kTwipsPerInch;
    const int pageWidth = static_cast<int>(
        std::floor(printer.pageLayout().paintRectPixels(printer.resolution()).width() /
                   deviceUnitsPerTwip));
    const QSize printed = PrintedSize(windowSize.width() * kTwipsPerPixel,
                                      windowSize.height() * kTwipsPerPixel, pageWidth);
    const QRectF target(0, 0, printed.width() * deviceUnitsPerTwip,
                        printed.height() * deviceUnitsPerTwip);
    painter.drawPixmap(target, picture, QRectF(picture.rect()));
    return painter.end();
}

bool PrintCopies(QPrinter& printer, QWidget* fallback, int copies,
                 const std::function<void(int)>& beforeJob) {
    // Copies are separate jobs of ours; the printer must not multiply each of them again.
    printer.setCopyCount(1);
    for (int copy = 1; copy <= copies; ++copy) {
        if (beforeJob)
            beforeJob(copy);
        if (!PrintWindowImage(printer, fallback))
            return false;
    }
    return true;
}

} // namespace norrik
