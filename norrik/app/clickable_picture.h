// A picture control that reports clicks, for the module picture and the picture buttons.
#pragma once

#include <QLabel>

#include <functional>

namespace norrik {

class ClickablePicture : public QLabel {
public:
    using QLabel::QLabel;

    std::function<void()> onClick;

    // Shows a picture or a caption and tells onChange, so that a copy elsewhere can follow.
    void ShowPicture(const QPixmap& picture);
    void ShowCaption(const QString& caption);
    std::function<void()> onChange;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace norrik
