// A group's frame with its caption on the top line, as the window's layout has it: the caption
// in a compact font above the group's first row of controls, which the layout puts close under
// the frame's top edge, and the line broken behind it so that nothing crosses the caption.
#pragma once

#include <QFont>
#include <QGroupBox>

namespace norrik {

class GroupFrame : public QGroupBox {
public:
    GroupFrame(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont captionFont_;
};

} // namespace norrik
