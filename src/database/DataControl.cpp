#include "database/DataControl.h"

DbError moveNextOrLast(Recordset& records) {
    if (DbError error = records.moveNext()) {
        return error;
    }
    return records.eof() ? records.moveLast() : DbError{};
}

DbError movePreviousOrFirst(Recordset& records) {
    if (DbError error = records.movePrevious()) {
        return error;
    }
    return records.bof() ? records.moveFirst() : DbError{};
}

void DataControl::bind(const QString& field, BoundControl* control) {
    m_bindings.append({field, control, control->text()});
}

void DataControl::leave() {
    if (onLeave && m_recordset && m_recordset->isOpen()) {
        onLeave();
    }
}

void DataControl::setRecordset(std::shared_ptr<Recordset> recordset) {
    leave();
    m_recordset = std::move(recordset);
    m_adding = false;
    show();
}

QString DataControl::text(const QString& field) const {
    for (const Binding& binding : m_bindings) {
        if (binding.field == field) {
            return binding.control->text();
        }
    }
    return {};
}

bool DataControl::dataChanged(const BoundControl* control) const {
    for (const Binding& binding : m_bindings) {
        if (binding.control == control) {
            return binding.control->text() != binding.shown;
        }
    }
    return false;
}

bool DataControl::anyChanged() const {
    for (const Binding& binding : m_bindings) {
        if (binding.control->text() != binding.shown) {
            return true;
        }
    }
    return false;
}

void DataControl::showValues(bool empty) {
    for (Binding& binding : m_bindings) {
        binding.control->setText(empty ? QString()
                                       : nullToEmpty(m_recordset->value(binding.field)));
        binding.shown = binding.control->text();
    }
}

void DataControl::show() {
    showValues(!m_recordset || m_recordset->absolutePosition() < 0);
    if (onReposition) {
        onReposition();
    }
}

DbError DataControl::updateRecord() {
    if (!m_recordset) {
        return DbError::objectClosed();
    }
    Recordset& records = *m_recordset;
    if (m_adding || anyChanged()) {
        leave();
    }
    if ((m_adding || anyChanged()) && onValidate && !onValidate()) {
        return DbError::cancelled();
    }
    if (m_adding) {
        // A pending new record is left over from an attempt that failed; start it afresh.
        if (records.editMode() != Recordset::EditMode::Add) {
            if (DbError error = records.addNew()) {
                return error;
            }
        }
        for (const Binding& binding : m_bindings) {
            const QString text = binding.control->text();
            records.setValue(binding.field, text.isEmpty() ? QVariant() : QVariant(text));
        }
        if (DbError error = records.update()) {
            return error;
        }
        m_adding = false;
        // The stored record becomes the current one, so that the form shows what it stored.
        const DbError error = records.setBookmark(records.lastModified());
        show();
        return error;
    }
    if (!anyChanged()) {
        return {};
    }
    if (DbError error = records.edit()) {
        return error;
    }
    for (const Binding& binding : m_bindings) {
        const QString text = binding.control->text();
        if (text != binding.shown) {
            records.setValue(binding.field, text.isEmpty() ? QVariant() : QVariant(text));
        }
    }
    if (DbError error = records.update()) {
        records.cancelUpdate();
        return error;
    }
    for (Binding& binding : m_bindings) {
        binding.shown = binding.control->text();
    }
    return {};
}

DbError DataControl::addNew() {
    if (!m_recordset) {
        return DbError::objectClosed();
    }
    leave();
    if (DbError error = m_recordset->addNew()) {
        return error;
    }
    m_adding = true;
    showValues(true);
    return {};
}

DbError DataControl::cancelUpdate() {
    if (!m_recordset) {
        return DbError::objectClosed();
    }
    if (m_recordset->editMode() != Recordset::EditMode::None) {
        m_recordset->cancelUpdate();
    }
    m_adding = false;
    show();
    return {};
}

DbError DataControl::refresh() {
    if (!m_recordset) {
        return DbError::objectClosed();
    }
    leave();
    m_adding = false;
    const DbError error = m_recordset->requery();
    show();
    return error;
}

DataError DataControl::navigate(const std::function<DbError(Recordset&)>& step, bool store) {
    if (!m_recordset) {
        return {DbError::objectClosed(), false};
    }
    leave();
    if (store) {
        if (DbError error = updateRecord()) {
            return {error, true};
        }
    } else if (m_adding) {
        m_recordset->cancelUpdate();
        m_adding = false;
    }
    const DbError error = step(*m_recordset);
    show();
    return {error, false};
}

DbError DataControl::deleteCurrent() {
    if (!m_recordset) {
        return DbError::objectClosed();
    }
    leave();
    if (DbError error = m_recordset->deleteRecord()) {
        return error;
    }
    // The typing on a deleted record has nowhere to go.
    for (Binding& binding : m_bindings) {
        binding.shown = binding.control->text();
    }
    return {};
}
