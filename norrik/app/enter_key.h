// Enter as a main window's default key: QPushButton::setDefault acts only in dialogs.
#pragma once

class QAbstractButton;
class QWidget;

namespace norrik {

// From now on Enter (main or keypad) clicks `button` whenever the key reaches `window` unused,
// that is when no control of the window took it. A disabled button ignores the click.
void PressOnEnter(QWidget* window, QAbstractButton* button);

} // namespace norrik
