#include "clickable_picture.h"

#include <QMouseEvent>

namespace norrik {

void ClickablePicture::ShowPicture(const QPixmap& picture) {
    setPixmap(picture);
    if (onChange)
        onChange();
}

void ClickablePicture::ShowCaption(const QString& caption) {
    setText(caption);
    if (onChange)
        onChange();
}

void ClickablePicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        isEnabled() && onClick)
        onClick();
    QLabel::mouseReleaseEvent(event);
}

} // namespace norrik
