// The eight signal labels the user can name; their names are kept nowhere else.
#include "clickable_picture.h"
#include "form1.h"
#include "input_box.h"
#include "layout.h"

namespace norrik {
namespace {

struct LabelColours {
    QColor background;
    QColor text;
};

// The resistor colours of indexes 0 to 7; yellow and green carry black text.
constexpr std::array<QRgb, 8> kLabelBackgrounds = {
    qRgb(0, 0, 0),     qRgb(128, 64, 0), qRgb(192, 0, 0), qRgb(255, 128, 0),
    qRgb(255, 255, 0), qRgb(0, 255, 0),  qRgb(0, 0, 255), qRgb(192, 0, 192)};

LabelColours ColoursOf(int index) {
    const bool darkText = index == 4 || index == 5;
    return {QColor(kLabelBackgrounds[size_t(index)]), darkText ? Qt::black : Qt::white};
}

} // namespace

void Form1::CreateSignalLabels() {
    // Beyond the client area: present, with their behaviour, but not shown.
    for (int i = 0; i < int(SignalLabel.size()); ++i) {
        auto* label = new ClickablePicture(QString("Signal %1").arg(i), client);
        label->setObjectName(QString("SignalLabel_%1").arg(i));
        label->setGeometry(kOffscreenLeft / kTwipsPerPixel, 640 + 20 * i, 80, 17);
        label->setAutoFillBackground(true);
        const LabelColours colours = ColoursOf(i);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, colours.background);
        palette.setColor(QPalette::WindowText, colours.text);
        label->setPalette(palette);
        label->setToolTip("Click here to change the label for this signal");
        label->onClick = [this, i] { SignalLabel_Click(i); };
        SignalLabel[size_t(i)] = label;
    }
}

void Form1::SignalLabel_Click(int index) {
    // A cancelled box empties the label, as an empty answer does.
    const std::optional<QString> name =
        AskForText(this, {"Tarnwick Logic Analyzer", "Enter the new name for this signal", ""});
    SignalLabel[size_t(index)]->ShowCaption(name.value_or(QString()));
}

} // namespace norrik
