#pragma once

#include "record_form/Commands.h"

#include <functional>

class CommandBar;
class QWidget;

// The Edit menu's text commands (Undo, Cut, Copy, Paste, Delete, Select All), which act on the
// field that has the focus as its own keys would.
class EditMenu {
public:
    // `changed` tells whether a field's text differs from the record's stored value; it is
    // null for a control that is no field.
    EditMenu(QWidget* form, CommandBar& commands, std::function<bool(QWidget*)> isField,
             std::function<bool(QWidget*)> changed);

    // The menu opens: each command is enabled when it has something to act on.
    void mnuEdit_Click();
    // Carries out a text command on the focused control.
    void run(Cmd id);

private:
    QWidget* m_form;
    CommandBar& m_commands;
    std::function<bool(QWidget*)> m_isField;
    std::function<bool(QWidget*)> m_changed;
};
