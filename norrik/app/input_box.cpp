#include "input_box.h"

#include <QInputDialog>

namespace norrik {
namespace {

InputAnswerer& Answerer() {
    static InputAnswerer answerer;
    return answerer;
}

} // namespace

std::optional<QString> AskForText(QWidget* parent, const InputRequest& request) {
    if (Answerer())
        return Answerer()(request);
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, request.title, request.prompt,
                                               QLineEdit::Normal, request.initial, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

void SetInputAnswerer(InputAnswerer answerer) {
    Answerer() = std::move(answerer);
}

} // namespace norrik
