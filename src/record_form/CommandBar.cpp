#include "record_form/CommandBar.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>

CommandBar::CommandBar(QWidget* parent, QMenuBar* menuBar) {
    for (const MenuTitle& title : menuTable()) {
        QMenu* menu = menuBar->addMenu(QString::fromUtf8(title.caption));
        menu->setObjectName(QLatin1String(title.name));
        m_menus[std::size_t(title.menu)] = menu;
    }
    for (const Command& row : commandTable()) {
        QMenu* menu = m_menus[std::size_t(row.menu)];
        QAction* item = nullptr;
        if (row.opens != Menu::None) {
            QMenu* submenu = menu->addMenu(QString::fromUtf8(row.itemCaption));
            submenu->setObjectName(QLatin1String(row.item) + QLatin1String("Menu"));
            m_menus[std::size_t(row.opens)] = submenu;
            item = submenu->menuAction();
        } else {
            item = menu->addAction(QString::fromUtf8(row.itemCaption));
            QObject::connect(item, &QAction::triggered, item, [this, &row] { run(row); });
        }
        item->setObjectName(QLatin1String(row.item));
        if (row.key != QKeyCombination()) {
            item->setShortcut(row.key);
            item->setShortcutContext(Qt::WindowShortcut);
        }
        if (row.separatorAfter) {
            menu->addSeparator();
        }
        m_items[index(row.id)] = item;

        if (row.button) {
            auto* button = new QPushButton(QString::fromUtf8(row.buttonCaption), parent);
            button->setObjectName(QLatin1String(row.button));
            button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, button, [this, &row] { run(row); });
            m_buttons[index(row.id)] = button;
            m_column.append(button);
        }
    }
    // By place; the two buttons of a place keep the order of the table.
    std::stable_sort(m_column.begin(), m_column.end(), [this](QPushButton* a, QPushButton* b) {
        return commandOf(a)->place < commandOf(b)->place;
    });
    // The form opens in browse mode; from then on the modes leave the own-state commands alone.
    for (const Command& row : commandTable()) {
        setEnabled(row.id, row.enabled.has(FormMode::Browse));
    }
    applyMode(FormMode::Browse);
}

void CommandBar::setHandler(Cmd id, std::function<void()> handler) {
    m_handlers[index(id)] = std::move(handler);
}

void CommandBar::requireHandlers() const {
    for (const Command& row : commandTable()) {
        if (row.opens == Menu::None && !m_handlers[index(row.id)]) {
            qFatal("The record form's command %s has no handler", row.item);
        }
    }
}

void CommandBar::run(const Command& row) {
    // However the command is given (a click, a button's Alt key, its menu item or function key),
    // the field being typed in is left first, with its checks; a field that refuses to be left
    // keeps the command from running.
    if (row.leavesField && m_leaveField && !m_leaveField()) {
        return;
    }
    if (const std::function<void()>& handler = m_handlers[index(row.id)]) {
        handler();
    }
}

const Command* CommandBar::commandOf(const QWidget* button) const {
    const auto at = std::find(m_buttons.begin(), m_buttons.end(), button);
    return button && at != m_buttons.end() ? &command(Cmd(at - m_buttons.begin())) : nullptr;
}

bool CommandBar::ownsKey(const QKeyEvent* event) const {
    const QKeyCombination typed(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key()));
    for (const Command& row : commandTable()) {
        const bool editsText = row.menu == Menu::Edit && row.ownState;
        if (row.key == typed && !editsText) {
            return m_items[index(row.id)]->isEnabled();
        }
    }
    return false;
}

void CommandBar::setEnabled(Cmd id, bool enabled) {
    if (QPushButton* button = m_buttons[index(id)]) {
        button->setEnabled(enabled);
    }
    m_items[index(id)]->setEnabled(enabled);
}

void CommandBar::applyMode(FormMode mode) {
    m_mode = mode;
    for (const Command& row : commandTable()) {
        if (!row.ownState) {
            setEnabled(row.id, row.enabled.has(mode));
        }
        if (QPushButton* button = m_buttons[index(row.id)]) {
            button->setVisible(row.shown.has(mode));
        }
    }
}
