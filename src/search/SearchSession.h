#pragma once

#include "database/Criteria.h"
#include "database/DataControl.h"

#include <QVariant>

// One search of the life list from the record form: the user types targets into the bound
// fields of an empty record that is never stored, the first Find turns them into criteria,
// and each Find moves the form to a matching sighting. The record to fall back on when nothing
// matches is the one shown when the search began, then the one found last.
class SearchSession {
public:
    enum class Find { First, Previous, Next, Last };
    enum class Outcome { Found, NoMatch, Failed };
    struct Result {
        Outcome outcome = Outcome::Found;
        DataError error;  // when it failed
    };

    explicit SearchSession(DataControl& data) : Data1(data) {}

    // Starts taking targets on the record shown. On failure the session is over again.
    DbError begin();
    // True from begin() until the criteria are built or the search ends.
    bool targetsEntered() const { return m_active && !mblnCriteriaBuilt; }
    bool criteriaBuilt() const { return mblnCriteriaBuilt; }
    // Builds the criteria from the targets typed and drops the record that took them, so that
    // the record shown before is current again. False when no target was typed.
    bool buildCriteria();
    // Moves to a match; what was typed on the record shown is stored first. When nothing
    // matches, the record to fall back on is shown.
    Result find(Find which);
    // Drops the targets typed (before any Find); the record shown before is current again.
    void dropTargets();
    // Ends the search; the record shown stays.
    void end();

private:
    DataControl& Data1;
    bool m_active = false;
    bool mblnCriteriaBuilt = true;
    Criteria mstrCriteria;
    QVariant mvarBookmark;
};
