#include "search/SearchSession.h"

#include "search/SearchCriteria.h"

DbError SearchSession::begin() {
    mblnCriteriaBuilt = false;
    m_active = true;
    Recordset* records = Data1.recordset();
    mvarBookmark = records ? records->bookmark() : QVariant();
    // An empty new record takes the targets; it is never stored.
    if (DbError error = Data1.addNew()) {
        end();
        return error;
    }
    return {};
}

bool SearchSession::buildCriteria() {
    mstrCriteria =
        search::buildCriteria([this](const QString& field) { return Data1.text(field); });
    dropTargets();
    mblnCriteriaBuilt = !mstrCriteria.isEmpty();
    return mblnCriteriaBuilt;
}

SearchSession::Result SearchSession::find(Find which) {
    DbError (Recordset::*operation)(const Criteria&) = nullptr;
    switch (which) {
        case Find::First:
            operation = &Recordset::findFirst;
            break;
        case Find::Previous:
            operation = &Recordset::findPrevious;
            break;
        case Find::Next:
            operation = &Recordset::findNext;
            break;
        case Find::Last:
            operation = &Recordset::findLast;
            break;
    }
    // The record shown is left as on any move: what was typed on it is stored first.
    if (DataError error = Data1.navigate([this, operation](Recordset& records) {
            if (DbError failed = (records.*operation)(mstrCriteria)) {
                return failed;
            }
            // Nothing found: the record shown before the Find is current again.
            return records.noMatch() ? records.setBookmark(mvarBookmark) : DbError{};
        })) {
        return {Outcome::Failed, error};
    }
    if (Data1.recordset()->noMatch()) {
        return {Outcome::NoMatch, {}};
    }
    mvarBookmark = Data1.recordset()->bookmark();
    return {};
}

void SearchSession::dropTargets() {
    Data1.cancelUpdate();
}

void SearchSession::end() {
    m_active = false;
    mblnCriteriaBuilt = true;
}
