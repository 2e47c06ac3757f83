#include "platform/QtWaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

void QtWaitCursor::setMousePointer(int pointer) {
    if (pointer == Hourglass && m_pointer != Hourglass) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else if (pointer != Hourglass && m_pointer == Hourglass) {
        QGuiApplication::restoreOverrideCursor();
    }
    m_pointer = pointer;
}
