#include "record_form/BoundWidget.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

QString BoundWidget::text() const {
    if (const auto* combo = qobject_cast<const QComboBox*>(m_widget)) {
        return combo->currentText();
    }
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(m_widget)) {
        return box->toPlainText();
    }
    return qobject_cast<const QLineEdit*>(m_widget)->text();
}

void BoundWidget::setText(const QString& text) {
    const QSignalBlocker blocker(m_widget);
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(m_widget)) {
        box->setPlainText(text);
    } else {
        auto* line = qobject_cast<QLineEdit*>(m_widget);
        line->setText(text);
        line->setCursorPosition(0);
    }
}
