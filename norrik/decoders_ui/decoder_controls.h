// Building blocks of the decoder windows' settings: labelled signal lists and frames of option
// buttons, and reading the "Display Mode" frame.
#pragma once

#include "decoders/byte_text.h"

#include <QRect>
#include <QStringList>

#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QRadioButton;
class QWidget;

namespace norrik {

// A label and, beside it, a drop-down list of `names` (no free text) with `selected` chosen.
QComboBox* SignalList(QWidget* parent, const QString& label, const QRect& labelGeometry,
                      const QRect& listGeometry, const std::vector<std::string>& names,
                      const std::string& selected);

// A frame of option buttons, one under the other, with button `checked` selected.
struct OptionFrame {
    QGroupBox* frame = nullptr;
    std::vector<QRadioButton*> buttons;
};
OptionFrame MakeOptionFrame(QWidget* parent, const QString& caption, const QRect& geometry,
                            const QStringList& captions, int checked);

// The "Display Mode" frame with its buttons `Hexy` ("Hex"), `Asciii` ("ASCII") and `Both`.
void MakeDisplayModeFrame(QWidget* parent, const QRect& geometry, decoders::DisplayMode selected,
                          QRadioButton*& hexy, QRadioButton*& asciii, QRadioButton*& both);

// The mode the frame's "Hex" and "ASCII" buttons select ("Both" when neither is checked).
decoders::DisplayMode SelectedDisplayMode(const QRadioButton* hexy, const QRadioButton* asciii);

} // namespace norrik
