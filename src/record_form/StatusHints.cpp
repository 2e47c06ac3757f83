#include "record_form/StatusHints.h"

#include <QLabel>

void StatusHints::addControl(QWidget* control, Hint hint) {
    m_controls.insert(control, std::move(hint));
}

void StatusHints::show(const QString& text) {
    if (m_panel->text() != text) {
        m_panel->setText(text);
    }
}

void StatusHints::clearIfShowing(const QString& text) {
    if (m_panel->text() == text) {
        m_panel->clear();
    }
}

void StatusHints::mouseMoved(QWidget* widget) {
    for (QWidget* part = widget; part; part = part->parentWidget()) {
        const auto control = m_controls.constFind(part);
        if (control != m_controls.constEnd()) {
            if (*control) {
                if (const std::optional<QString> hint = (*control)()) {
                    show(*hint);
                }
            }
            return;
        }
        if (part->isWindow()) {
            return;
        }
    }
}
