// Focus events of the record form's fields, and the status-bar hints for the control under the
// mouse pointer.
#include "record_form/FormComboBox.h"
#include "record_form/FrmMain.h"
#include "record_form/Hints.h"

#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

void FrmMain::watchControls() {
    // Every control reports mouse movement, so that the hint follows the control under the
    // pointer rather than the nearest one that happens to track the mouse.
    QList<QWidget*> widgets = m_form->findChildren<QWidget*>();
    widgets.append(m_form);
    for (QWidget* widget : widgets) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            if (auto* widget = qobject_cast<QWidget*>(watched);
                widget && (m_boundOf.contains(widget) || qobject_cast<QPushButton*>(widget))) {
                const auto reason = static_cast<QFocusEvent*>(event)->reason();
                if (event->type() == QEvent::FocusIn) {
                    focusIn(widget, reason);
                } else {
                    focusOut(widget, reason);
                }
            }
            break;
        case QEvent::MouseButtonPress:
            // The focus moves before the click is delivered. When a field's check sent the focus
            // back, the click is dropped, so that the button or box clicked does nothing and is
            // not left pressed.
            if (m_returningTo) {
                return true;
            }
            break;
        case QEvent::KeyPress:
            if (auto* combo = qobject_cast<FormComboBox*>(watched)) {
                if (comboKeyPress(combo, static_cast<QKeyEvent*>(event))) {
                    return true;
                }
            }
            break;
        case QEvent::MouseMove: {
            // A move that a child did not take is passed on to its parents; only the widget
            // under the pointer counts.
            auto* widget = qobject_cast<QWidget*>(watched);
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (widget && !widget->childAt(at)) {
                if (QWidget* control = controlOf(widget)) {
                    mouseMoved(control);
                }
            }
            break;
        }
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

namespace {

// Focus that comes and goes with the window (another window activated, a list dropped down,
// the menu bar used) is not the user moving between fields.
bool movesBetweenFields(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

}  // namespace

void FrmMain::focusIn(QWidget* control, Qt::FocusReason reason) {
    // The window becoming active gives the focus back to the field that had it; only the
    // first time (the field focused when the form opens) is that field entered.
    const bool windowFocus = reason == Qt::ActiveWindowFocusReason && !m_focused;
    if ((!movesBetweenFields(reason) && !windowFocus) || m_focused == control ||
        (m_returningTo && control != m_returningTo)) {
        return;
    }
    m_focused = control;
    if (auto* combo = qobject_cast<FormComboBox*>(control)) {
        comboGotFocus(combo);
    }
}

void FrmMain::focusOut(QWidget* control, Qt::FocusReason reason) {
    // A field that lost the focus without having had its GotFocus (the focus was sent back by
    // a check while it was on its way) has nothing to check.
    if (!movesBetweenFields(reason) || m_focused != control || m_returningTo) {
        return;
    }
    m_focused = nullptr;
    if (!m_boundOf.contains(control)) {
        return;
    }
    if (auto* combo = qobject_cast<FormComboBox*>(control)) {
        if (combo != cboMonth && combo != cboYear) {
            lookupLostFocus(combo);
        }
        return;
    }
    textBoxLostFocus(control);
}

QWidget* FrmMain::controlOf(QObject* object) const {
    // The named control a widget belongs to: the parts of a combo box or a text box (its line,
    // its viewport) count as the box.
    for (QObject* part = object; part; part = part->parent()) {
        if (part == m_form) {
            return m_form;
        }
        auto* widget = qobject_cast<QWidget*>(part);
        if (!widget) {
            return nullptr;
        }
        const QString name = widget->objectName();
        if (name.size() > 3 && !name.startsWith(QLatin1String("qt_")) && name[3].isUpper()) {
            return widget;
        }
        if (widget->isWindow()) {
            return nullptr;
        }
    }
    return nullptr;
}

void FrmMain::mouseMoved(QWidget* control) {
    const QString name = control == m_form ? objectName() : control->objectName();
    if (const std::optional<QString> hint = hints::forMouseOver(name, searchTargetsEntered())) {
        showHint(*hint);
    }
}

void FrmMain::showHint(const QString& text) {
    if (m_panel1->text() != text) {
        m_panel1->setText(text);
    }
}
