#include "record_form/FieldChecks.h"

#include "database/Schema.h"
#include "record_form/FieldFocus.h"
#include "record_form/FormComboBox.h"
#include "record_form/LookupBoxes.h"
#include "services/MValidation.h"

#include <QLineEdit>
#include <QPlainTextEdit>

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

}  // namespace

bool FieldChecks::checkLength(QWidget* control, int maxLength) {
    if (checkTextLength(m_dialogs, textOf(control), maxLength)) {
        return true;
    }
    m_focus.returnTo(control, true);
    return false;
}

namespace {

int limitOf(const QWidget* field) {
    return qobject_cast<const QPlainTextEdit*>(field) ? kLongTextLimit : kShortTextLimit;
}

}  // namespace

bool FieldChecks::storable(const QList<QWidget*>& fields) {
    for (QWidget* field : fields) {
        if (!checkLength(field, limitOf(field))) {
            return false;
        }
    }
    return true;
}

bool FieldChecks::lostFocus(QWidget* field) {
    if (auto* combo = qobject_cast<FormComboBox*>(field)) {
        if (m_lookups.isFixed(combo)) {
            return true;
        }
        return checkLength(combo, kShortTextLimit) && m_lookups.lostFocus(combo);
    }
    if (!checkLength(field, limitOf(field))) {
        return false;
    }
    if (field == m_species) {
        const QString species = capitaliseSpecies(m_species->text());
        if (species != m_species->text()) {
            m_species->setText(species);
        }
    }
    return true;
}

bool FieldChecks::leaveActiveControl() {
    QWidget* field = m_focus.current();
    return !field || !m_focus.isField(field) || lostFocus(field);
}
