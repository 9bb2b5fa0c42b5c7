// Twins of the main window's hidden controls, for a window that shows them: each twin shows
// what its hidden control holds and follows every change of it, and a user's action on the twin
// is done on the hidden control, so that the same handler runs on the same state.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace norrik {

class ClickablePicture;
class PictureSurface;

// A list with the hidden list's entries and current entry; a choice selects that entry of the
// hidden list as a user's choice does.
QComboBox* TwinList(QComboBox* hidden, QWidget* parent);

// A button with the hidden button's caption and tool tip; a click clicks the hidden one.
QPushButton* TwinButton(QPushButton* hidden, QWidget* parent);

// An option button that is on when the hidden one is; choosing it clicks the hidden one. Twins
// with one parent exclude each other as their hidden options do.
QRadioButton* TwinOption(QRadioButton* hidden, QWidget* parent);

// A picture or caption that shows what the hidden one shows, with its colours; a click is the
// hidden one's click.
ClickablePicture* TwinPicture(ClickablePicture* hidden, QWidget* parent);

// A read-only box with the hidden box's text.
QLineEdit* TwinBox(QLineEdit* hidden, QWidget* parent);

// A view of a picture surface's picture, of its size.
class SurfaceTwin : public QWidget {
public:
    SurfaceTwin(const PictureSurface* hidden, QWidget* parent);

    // Shows the hidden surface's latest picture and tool tip.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PictureSurface* hidden_;
};

} // namespace norrik
