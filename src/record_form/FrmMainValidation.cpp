// Length checks on leaving a field, the species capitalisation and the Edit menu.
#include "record_form/FormComboBox.h"
#include "record_form/FrmMain.h"
#include "record_form/MValidation.h"

#include "app/Program.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

namespace {

QString textOf(const QWidget* control) {
    if (const auto* line = qobject_cast<const QLineEdit*>(control)) {
        return line->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->currentText();
    }
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(control)) {
        return box->toPlainText();
    }
    return {};
}

// The line edit that holds a text box's or combo box's text, if it is one line.
QLineEdit* lineOf(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        return combo->lineEdit();
    }
    return qobject_cast<QLineEdit*>(control);
}

struct Selection {
    qsizetype start = 0;
    qsizetype length = 0;
};

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

void selectAllOf(QWidget* control) {
    if (QLineEdit* line = lineOf(control)) {
        line->selectAll();
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
        box->selectAll();
    }
}

}  // namespace

bool FrmMain::CheckTextLength(QWidget* control, int lMaxLength) {
    if (checkTextLength(m_program.dialogs, textOf(control), lMaxLength)) {
        return true;
    }
    returnFocusTo(control, true);
    return false;
}

void FrmMain::returnFocusTo(QWidget* control, bool selectText) {
    // The focus may be on its way to another control (Tab, a click) when a check sends it back,
    // and a message box in between makes the window give the focus back to that other control
    // when it is active again. So it is sent back at once and once more when the events of
    // the move have been handled; the controls it passes over meanwhile run no handlers.
    m_returningTo = control;
    control->setFocus(Qt::OtherFocusReason);
    if (selectText) {
        selectAllOf(control);
    }
    QTimer::singleShot(0, this, [this, target = QPointer<QWidget>(control), selectText] {
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

bool FrmMain::textBoxLostFocus(QWidget* control) {
    const int limit = qobject_cast<QPlainTextEdit*>(control) ? kLongTextLimit : kShortTextLimit;
    if (!CheckTextLength(control, limit)) {
        return false;
    }
    if (control == txtSpecies) {
        const QString species = capitaliseSpecies(txtSpecies->text());
        if (species != txtSpecies->text()) {
            txtSpecies->setText(species);
        }
    }
    return true;
}

bool FrmMain::leaveActiveControl() {
    // A command given from the menu or by its key leaves the field being typed in without
    // moving the focus; the field's checks run as if it had lost the focus.
    QWidget* control = m_focused;
    if (!control || !m_boundOf.contains(control)) {
        return true;
    }
    if (auto* combo = qobject_cast<FormComboBox*>(control)) {
        if (combo == cboMonth || combo == cboYear) {
            return true;
        }
        return lookupLostFocus(combo);
    }
    return textBoxLostFocus(control);
}

void FrmMain::mnuEdit_Click() {
    QWidget* control = QApplication::focusWidget();
    while (control && control != this && !m_boundOf.contains(control)) {
        control = control->parentWidget();
    }
    const bool text = control && m_boundOf.contains(control);
    const QString content = text ? textOf(control) : QString();
    const Selection selection = text ? selectionOf(control) : Selection{};
    m_items.value(QStringLiteral("mnuUndo"))
        ->setEnabled(text && Data1.dataChanged(m_boundOf.value(control)));
    m_items.value(QStringLiteral("mnuCut"))->setEnabled(text && selection.length != 0);
    m_items.value(QStringLiteral("mnuCopy"))->setEnabled(text && selection.length != 0);
    m_items.value(QStringLiteral("mnuPaste"))
        ->setEnabled(text && !QGuiApplication::clipboard()->text().isEmpty());
    m_items.value(QStringLiteral("mnuDeleteText"))
        ->setEnabled(text && content.size() > selection.start);
    m_items.value(QStringLiteral("mnuSelectAll"))
        ->setEnabled(text && content.size() > selection.length);
}

void FrmMain::sendKeys(QWidget* control, int key, Qt::KeyboardModifiers modifiers,
                       const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(control, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(control, &release);
}

void FrmMain::editCommand(const QString& item) {
    // The text commands act on the focused control as its own keys would.
    QWidget* control = QApplication::focusWidget();
    if (!control || control->window() != this) {
        return;
    }
    if (item == QLatin1String("mnuUndo")) {
        sendKeys(control, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
    } else if (item == QLatin1String("mnuCut")) {
        sendKeys(control, Qt::Key_X, Qt::ControlModifier, QStringLiteral("\x18"));
    } else if (item == QLatin1String("mnuCopy")) {
        sendKeys(control, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    } else if (item == QLatin1String("mnuPaste")) {
        sendKeys(control, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    } else if (item == QLatin1String("mnuDeleteText")) {
        sendKeys(control, Qt::Key_Delete, Qt::NoModifier, QString());
    } else if (item == QLatin1String("mnuSelectAll")) {
        // A long text is selected whole, not only its current line.
        if (qobject_cast<QPlainTextEdit*>(control)) {
            selectAllOf(control);
        } else {
            sendKeys(control, Qt::Key_Home, Qt::NoModifier, QString());
            sendKeys(control, Qt::Key_End, Qt::ShiftModifier, QString());
        }
    }
}
