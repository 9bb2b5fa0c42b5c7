// Every message box of the program goes through here, so that tests can answer them without a
// blocking dialog.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace norrik {

struct MessageRequest {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

using MessageAnswerer = std::function<QMessageBox::StandardButton(const MessageRequest&)>;

// Shows the message and returns the button pressed.
QMessageBox::StandardButton ShowMessage(QWidget* parent, const MessageRequest& request);

// Tests install an answerer; an empty one restores real dialogs.
void SetMessageAnswerer(MessageAnswerer answerer);

} // namespace norrik
