// A status label's caption on its background colour, as the acquisition status and the decoder
// windows show their state.
#pragma once

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QString>

namespace norrik {

inline void ShowCaptionOn(QLabel* label, const QString& caption, const QColor& background) {
    label->setText(caption);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    label->setPalette(palette);
}

} // namespace norrik
