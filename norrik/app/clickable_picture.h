// A picture control that reports clicks, for the module picture and the picture buttons.
#pragma once

#include <QLabel>

#include <functional>

namespace norrik {

class ClickablePicture : public QLabel {
public:
    using QLabel::QLabel;

    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace norrik
