#include "record_form/FieldFocus.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

bool movesBetweenFields(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

void selectAllOf(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->lineEdit()->selectAll();
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->selectAll();
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
        box->selectAll();
    }
}

}  // namespace

bool FieldFocus::focusIn(QWidget* control, Qt::FocusReason reason) {
    if (!isField(control) && !qobject_cast<QPushButton*>(control)) {
        return false;
    }
    // The window becoming active gives the focus back to the field that had it; only the
    // first time (the field focused when the form opens) is that field entered.
    const bool windowFocus = reason == Qt::ActiveWindowFocusReason && !m_current;
    if ((!movesBetweenFields(reason) && !windowFocus) || m_current == control ||
        (m_returningTo && control != m_returningTo)) {
        return false;
    }
    m_current = control;
    return isField(control);
}

bool FieldFocus::focusOut(QWidget* control, Qt::FocusReason reason) {
    // A field that lost the focus without having had its GotFocus (the focus was sent back by
    // a check while it was on its way) has nothing to check.
    if (!movesBetweenFields(reason) || m_current != control || m_returningTo) {
        return false;
    }
    m_current = nullptr;
    return isField(control);
}

void FieldFocus::returnTo(QWidget* control, bool selectText) {
    // The focus may be on its way to another control (Tab, a click) when a check sends it back,
    // and a message box in between makes the window give the focus back to that other control
    // when it is active again. So it is sent back at once and once more when the events of
    // the move have been handled; the controls it passes over meanwhile run no handlers.
    m_returningTo = control;
    control->setFocus(Qt::OtherFocusReason);
    if (selectText) {
        selectAllOf(control);
    }
    QTimer::singleShot(0, m_form, [this, target = QPointer<QWidget>(control), selectText] {
        if (m_returningTo == target) {
            m_returningTo = nullptr;
        }
        if (!target) {
            return;
        }
        if (QApplication::focusWidget() != target) {
            target->setFocus(Qt::OtherFocusReason);
        }
        if (selectText) {
            selectAllOf(target);
        }
    });
}
