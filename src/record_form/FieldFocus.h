#pragma once

#include <QPointer>
#include <QSet>
#include <QWidget>

// Which field of the record form the user is in, and the sending back of the focus when a
// field's check refuses to let it go. Focus that comes and goes with the window (another
// window activated, a list dropped down, the menu bar used) is not the user moving between
// fields.
class FieldFocus {
public:
    // `form` is the window; `fields` the controls whose GotFocus and LostFocus run.
    FieldFocus(QWidget* form, QSet<QWidget*> fields) : m_form(form), m_fields(std::move(fields)) {}

    bool isField(QWidget* widget) const { return m_fields.contains(widget); }
    // The field whose GotFocus ran last and that has not been left since.
    QWidget* current() const { return m_current; }

    // The focus came to a control; true when the user entered it (its GotFocus runs).
    bool focusIn(QWidget* control, Qt::FocusReason reason);
    // The focus left a control; true when the user left the field (its LostFocus runs).
    bool focusOut(QWidget* control, Qt::FocusReason reason);

    // Sends the focus back to `control`, selecting its text if asked.
    void returnTo(QWidget* control, bool selectText);
    // True while the focus is being sent back: a click meanwhile is dropped, so that the
    // button or box clicked does nothing and is not left pressed.
    bool returning() const { return !m_returningTo.isNull(); }

private:
    QWidget* m_form;
    QSet<QWidget*> m_fields;
    QPointer<QWidget> m_current;
    QPointer<QWidget> m_returningTo;
};
