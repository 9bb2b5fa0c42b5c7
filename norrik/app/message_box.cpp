#include "message_box.h"

namespace norrik {
namespace {

MessageAnswerer& Answerer() {
    static MessageAnswerer answerer;
    return answerer;
}

} // namespace

QMessageBox::StandardButton ShowMessage(QWidget* parent, const MessageRequest& request) {
    if (Answerer())
        return Answerer()(request);
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetMessageAnswerer(MessageAnswerer answerer) {
    Answerer() = std::move(answerer);
}

} // namespace norrik
