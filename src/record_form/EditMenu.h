#pragma once

#include "record_form/Commands.h"

#include <functional>

class CommandBar;
class FieldFocus;
class QWidget;

// The Edit menu's text commands (Undo, Cut, Copy, Paste, Delete, Select All), which act on the
// field that has the focus as its own keys would.
class EditMenu {
public:
    // `changed` tells whether a field's text differs from what the record shown holds.
    EditMenu(QWidget* form, CommandBar& commands, const FieldFocus& fields,
             std::function<bool(QWidget*)> changed);

    // The menu opens: each command is enabled when it has something to act on.
    void mnuEdit_Click();
    // Carries out a text command on the focused control.
    void run(Cmd id);

private:
    QWidget* m_form;
    CommandBar& m_commands;
    const FieldFocus& m_fields;
    std::function<bool(QWidget*)> m_changed;
};
