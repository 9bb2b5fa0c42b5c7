#include "decoders_ui/decoder_controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

namespace norrik {

namespace {

constexpr int kButtonTop = 22;
constexpr int kButtonHeight = 17;
constexpr int kButtonSpacing = 20;

} // namespace

QComboBox* SignalList(QWidget* parent, const QString& label, const QRect& labelGeometry,
                      const QRect& listGeometry, const std::vector<std::string>& names,
                      const std::string& selected) {
    auto* caption = new QLabel(label, parent);
    caption->setGeometry(labelGeometry);
    auto* list = new QComboBox(parent);
    list->setGeometry(listGeometry);
    list->setMaxVisibleItems(static_cast<int>(names.size()));
    for (const std::string& name : names)
        list->addItem(QString::fromStdString(name));
    const auto found = std::find(names.begin(), names.end(), selected);
    list->setCurrentIndex(found == names.end() ? 0 : static_cast<int>(found - names.begin()));
    caption->setBuddy(list);
    return list;
}

OptionFrame MakeOptionFrame(QWidget* parent, const QString& caption, const QRect& geometry,
                            const QStringList& captions, int checked) {
    OptionFrame made;
    made.frame = new QGroupBox(caption, parent);
    made.frame->setGeometry(geometry);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], made.frame);
        button->setGeometry(8, kButtonTop + i * kButtonSpacing, geometry.width() - 12,
                            kButtonHeight);
        button->setChecked(i == checked);
        made.buttons.push_back(button);
    }
    return made;
}

void MakeDisplayModeFrame(QWidget* parent, const QRect& geometry, decoders::DisplayMode selected,
                          QRadioButton*& hexy, QRadioButton*& asciii, QRadioButton*& both) {
    using decoders::DisplayMode;
    const int checked = selected == DisplayMode::Hex ? 0 : selected == DisplayMode::Ascii ? 1 : 2;
    const OptionFrame frame =
        MakeOptionFrame(parent, "Display Mode", geometry, {"Hex", "ASCII", "Both"}, checked);
    hexy = frame.buttons[0];
    asciii = frame.buttons[1];
    both = frame.buttons[2];
}

decoders::DisplayMode SelectedDisplayMode(const QRadioButton* hexy, const QRadioButton* asciii) {
    if (hexy->isChecked())
        return decoders::DisplayMode::Hex;
    if (asciii->isChecked())
        return decoders::DisplayMode::Ascii;
    return decoders::DisplayMode::Both;
}

} // namespace norrik
