#include "record_form/EditMenu.h"

#include "record_form/CommandBar.h"
#include "record_form/FieldFocus.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

struct Selection {
    qsizetype start = 0;
    qsizetype length = 0;
};

// The line edit that holds a text box's or combo box's text, if it is one line.
QLineEdit* lineOf(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        return combo->lineEdit();
    }
    return qobject_cast<QLineEdit*>(control);
}

QString textOf(QWidget* control) {
    if (QLineEdit* line = lineOf(control)) {
        return line->text();
    }
    if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
        return box->toPlainText();
    }
    return {};
}

Selection selectionOf(QWidget* control) {
    if (QLineEdit* line = lineOf(control)) {
        if (line->hasSelectedText()) {
            return {line->selectionStart(), line->selectedText().size()};
        }
        return {line->cursorPosition(), 0};
    }
    if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
        const QTextCursor cursor = box->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
    }
    return {};
}

void sendKeys(QWidget* control, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(control, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(control, &release);
}

}  // namespace

EditMenu::EditMenu(QWidget* form, CommandBar& commands, const FieldFocus& fields,
                   std::function<bool(QWidget*)> changed)
    : m_form(form), m_commands(commands), m_fields(fields), m_changed(std::move(changed)) {}

void EditMenu::mnuEdit_Click() {
    QWidget* control = QApplication::focusWidget();
    while (control && control != m_form && !m_fields.isField(control)) {
        control = control->parentWidget();
    }
    const bool text = control && m_fields.isField(control);
    const QString content = text ? textOf(control) : QString();
    const Selection selection = text ? selectionOf(control) : Selection{};
    m_commands.setEnabled(Cmd::Undo, text && m_changed(control));
    m_commands.setEnabled(Cmd::Cut, text && selection.length != 0);
    m_commands.setEnabled(Cmd::Copy, text && selection.length != 0);
    m_commands.setEnabled(Cmd::Paste, text && !QGuiApplication::clipboard()->text().isEmpty());
    m_commands.setEnabled(Cmd::DeleteText, text && content.size() > selection.start);
    m_commands.setEnabled(Cmd::SelectAll, text && content.size() > selection.length);
}

void EditMenu::run(Cmd id) {
    QWidget* control = QApplication::focusWidget();
    if (!control || control->window() != m_form) {
        return;
    }
    switch (id) {
        case Cmd::Undo:
            sendKeys(control, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
            break;
        case Cmd::Cut:
            sendKeys(control, Qt::Key_X, Qt::ControlModifier, QStringLiteral("\x18"));
            break;
        case Cmd::Copy:
            sendKeys(control, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
            break;
        case Cmd::Paste:
            sendKeys(control, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
            break;
        case Cmd::DeleteText:
            sendKeys(control, Qt::Key_Delete, Qt::NoModifier, QString());
            break;
        case Cmd::SelectAll:
            // A long text is selected whole, not only its current line.
            if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
                box->selectAll();
            } else {
                sendKeys(control, Qt::Key_Home, Qt::NoModifier, QString());
                sendKeys(control, Qt::Key_End, Qt::ShiftModifier, QString());
            }
            break;
        default:
            break;
    }
}
