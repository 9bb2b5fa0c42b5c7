// Every input box of the program goes through here, so that tests can answer them without a
// blocking dialog.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace norrik {

struct InputRequest {
    QString title;
    QString prompt;
    QString initial;
};

// The text the user typed, or nothing when the box was cancelled.
using InputAnswerer = std::function<std::optional<QString>(const InputRequest&)>;

std::optional<QString> AskForText(QWidget* parent, const InputRequest& request);

// Tests install an answerer; an empty one restores real dialogs.
void SetInputAnswerer(InputAnswerer answerer);

} // namespace norrik
