#include "record_form/BoundWidgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

QString LineEditBinding::text() const {
    return m_edit->text();
}

void LineEditBinding::setText(const QString& text) {
    const QSignalBlocker blocker(m_edit);
    m_edit->setText(text);
    m_edit->setCursorPosition(0);
}

QString PlainTextBinding::text() const {
    return m_edit->toPlainText();
}

void PlainTextBinding::setText(const QString& text) {
    const QSignalBlocker blocker(m_edit);
    m_edit->setPlainText(text);
}

QString ComboBinding::text() const {
    return m_combo->currentText();
}

void ComboBinding::setText(const QString& text) {
    const QSignalBlocker blocker(m_combo);
    m_combo->setCurrentIndex(-1);
    m_combo->setEditText(text);
}
