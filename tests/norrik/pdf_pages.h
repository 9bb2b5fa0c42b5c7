// Reading back what a test printed to a PDF file, with the poppler tools.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

namespace norrik {

inline int PdfPages(const QString& file) {
    QProcess info;
    info.start("pdfinfo", {file});
    info.waitForFinished();
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpressionMatch match = QRegularExpression("Pages:\\s+(\\d+)").match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The first page rendered at `dpi` (72: one pixel per point).
inline QImage FirstPdfPage(const QString& file, int dpi = 72) {
    const QString prefix = file + "-page";
    QProcess::execute("pdftoppm", {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-png",
                                   "-singlefile", file, prefix});
    return QImage(prefix + ".png");
}

} // namespace norrik
