#include "artwork.h"

#include "layout.h"
#include "view/picture_resolution.h"

#include <QLinearGradient>
#include <QPainter>

#include <array>

namespace norrik {
namespace {

// Pin legend from the top row down: Sin, Sout, RES, VDD, then P15 to P0.
QString LegendOfScreenRow(int screenRow) {
    static const std::array<const char*, 4> kTop = {"Sin", "Sout", "RES", "VDD"};
    if (screenRow < 4)
        return kTop[screenRow];
    return QString("P%1").arg(19 - screenRow);
}

void DrawPanel(QPainter& painter, const QRect& area) {
    painter.setPen(QColor(90, 96, 110));
    painter.setBrush(QColor(214, 218, 226));
    painter.drawRoundedRect(area.adjusted(-4, -4, 4, 4), 6, 6);
}

} // namespace

QPixmap BackgroundPicture() {
    QPixmap picture = SharpPixmap(913, 520);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, 520);
    sky.setColorAt(0, QColor(52, 61, 79));
    sky.setColorAt(1, QColor(28, 33, 44));
    painter.fillRect(0, 0, 913, 520, sky);

    // Behind the rows and strips, so that their edges read as one instrument face.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(18, 22, 30));
    painter.drawRect(Twips(3000, 180, 10420, 5430));

    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(230, 232, 238));
    for (int screenRow = 0; screenRow < 20; ++screenRow) {
        const QRect label = Twips(2200, 480 + 240 * screenRow, 860, 255);
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, LegendOfScreenRow(screenRow));
    }
    font.setPixelSize(9);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(QColor(255, 214, 120));
    // The columns are too narrow for their headings: each heading stands on its own line, left
    // of its column, with a tick down to it.
    const int firstColumn = 3120 / kTwipsPerPixel + 8;
    const int secondColumn = 3360 / kTwipsPerPixel + 8;
    painter.drawText(QRect(firstColumn - 104, 2, 100, 12), Qt::AlignRight, "trigger on this");
    painter.drawText(QRect(secondColumn - 104, 16, 100, 12), Qt::AlignRight, "then this");
    painter.drawLine(firstColumn - 2, 8, firstColumn, 8);
    painter.drawLine(firstColumn, 8, firstColumn, 30);
    painter.drawLine(secondColumn - 2, 22, secondColumn, 22);
    painter.drawLine(secondColumn, 22, secondColumn, 30);

    DrawPanel(painter, Twips(3720, 5640, 3255, 1335));
    DrawPanel(painter, Twips(7080, 5640, 4575, 1335));
    DrawPanel(painter, Twips(12000, 5880, 1095, 855));

    font.setPixelSize(15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(200, 210, 230));
    painter.drawText(Twips(120, 5880, 3400, 400), Qt::AlignLeft, "Tarnwick Logic Analyzer");
    return picture;
}

QPixmap ModulePicture(int index) {
    // One board, seven finishes: the picture cycles through the module variants.
    static const std::array<QColor, kModulePictures> kBoard = {
        QColor(0, 110, 60),  QColor(20, 60, 150), QColor(150, 20, 30), QColor(30, 30, 30),
        QColor(110, 40, 140), QColor(200, 160, 20), QColor(230, 230, 230)};
    QPixmap picture = SharpPixmap(81, 153);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor board = kBoard[static_cast<size_t>(index) % kBoard.size()];
    painter.setPen(board.darker(160));
    painter.setBrush(board);
    painter.drawRoundedRect(QRectF(2, 2, 77, 149), 5, 5);

    // Two rows of header pins along the long edges.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(212, 175, 55));
    for (int pin = 0; pin < 12; ++pin) {
        painter.drawRect(QRectF(6, 12 + pin * 11, 5, 5));
        painter.drawRect(QRectF(70, 12 + pin * 11, 5, 5));
    }
    // The microcontroller and a crystal.
    painter.setBrush(QColor(25, 25, 28));
    painter.drawRect(QRectF(22, 40, 37, 37));
    painter.setBrush(QColor(190, 190, 196));
    painter.drawRoundedRect(QRectF(30, 95, 21, 9), 4, 4);
    painter.setPen(QColor(235, 235, 235));
    QFont font = painter.font();
    font.setPixelSize(8);
    painter.setFont(font);
    painter.drawText(QRectF(22, 40, 37, 37), Qt::AlignCenter, "TW2");
    painter.drawText(QRectF(4, 130, 73, 14), Qt::AlignCenter, QString("Tarnwick %1").arg(index));
    return picture;
}

} // namespace norrik
