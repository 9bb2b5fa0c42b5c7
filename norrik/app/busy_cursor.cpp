#include "busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace norrik {

BusyCursor::BusyCursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    QGuiApplication::restoreOverrideCursor();
}

} // namespace norrik
