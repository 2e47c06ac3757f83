#pragma once

#include "record_form/Commands.h"

#include <QList>
#include <array>
#include <functional>

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QPushButton;
class QWidget;

// The record form's commands as the user meets them: a menu item for each, a button for some,
// both built from the command table. Entering a mode applies the table; giving a command runs
// its handler, after leaving the field being typed in when the command asks for it.
class CommandBar {
public:
    // Makes every button (parented to `parent`) and menu item of the table.
    CommandBar(QWidget* parent, QMenuBar* menuBar);

    // The handler of a command; a command without one does nothing.
    void setHandler(Cmd id, std::function<void()> handler);
    // Ends the program when a command of the table has no handler (a submenu needs none): a
    // command that silently does nothing is a wiring fault, found at the first start.
    void requireHandlers() const;
    // Runs before a menu item that leaves the field being typed in; false keeps the command from
    // going ahead.
    void setLeaveField(std::function<bool()> leaveField) { m_leaveField = std::move(leaveField); }

    // The buttons in the order of the column, from the top.
    const QList<QPushButton*>& column() const { return m_column; }
    QPushButton* button(Cmd id) const { return m_buttons[index(id)]; }
    QAction* item(Cmd id) const { return m_items[index(id)]; }
    QMenu* menu(Menu menu) const { return m_menus[std::size_t(menu)]; }
    // The command whose button this is, if it is one.
    const Command* commandOf(const QWidget* button) const;

    FormMode mode() const { return m_mode; }
    // Enables, disables, shows and hides the commands as the mode asks.
    void applyMode(FormMode mode);
    // True when a key typed into a field is an enabled command's shortcut that the field would
    // otherwise take for itself (Ctrl+E moves to the end of a line on some desktops). The
    // editing commands are left to the fields.
    bool ownsKey(const QKeyEvent* event) const;
    // Enables or disables a command that follows what the form shows rather than the mode.
    void setEnabled(Cmd id, bool enabled);

private:
    static std::size_t index(Cmd id) { return std::size_t(id); }
    void run(const Command& row);

    static constexpr std::size_t kCount = std::size_t(Cmd::HelpAbout) + 1;
    std::array<QPushButton*, kCount> m_buttons{};
    std::array<QAction*, kCount> m_items{};
    std::array<std::function<void()>, kCount> m_handlers;
    std::array<QMenu*, std::size_t(Menu::Help) + 1> m_menus{};
    QList<QPushButton*> m_column;
    std::function<bool()> m_leaveField;
    FormMode m_mode = FormMode::Browse;
};
