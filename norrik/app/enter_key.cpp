#include "enter_key.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace norrik {
namespace {

// Key events that the focused control ignores travel up to the window and through its event
// filters: this one takes Enter there.
class EnterPresses : public QObject {
public:
    EnterPresses(QWidget* window, QAbstractButton* button) : QObject(window), button_(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        // Holding the key down presses once.
        if (!key->isAutoRepeat() && button_)
            button_->click();
        key->accept();
        return true;
    }

private:
    QPointer<QAbstractButton> button_;
};

} // namespace

void PressOnEnter(QWidget* window, QAbstractButton* button) {
    window->installEventFilter(new EnterPresses(window, button));
}

} // namespace norrik
