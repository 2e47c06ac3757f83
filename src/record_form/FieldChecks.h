#pragma once

class Dialogs;
#include <QList>

class FieldFocus;
class LookupBoxes;
class QLineEdit;
class QWidget;

// The checks that run when the user leaves a field of the record form: its length, the
// capitalisation of the binomial name, and a lookup box's new entry.
class FieldChecks {
public:
    FieldChecks(Dialogs& dialogs, FieldFocus& focus, LookupBoxes& lookups, QLineEdit* species)
        : m_dialogs(dialogs), m_focus(focus), m_lookups(lookups), m_species(species) {}

    // True when the control's text is at most `maxLength` characters long; otherwise tells
    // the user and sends the focus back to the control with its text selected.
    bool checkLength(QWidget* control, int maxLength);
    // The field lost the focus; false when it refuses to be left.
    bool lostFocus(QWidget* field);
    // A command given from the menu or by its key leaves the field being typed in without
    // moving the focus: the field's checks run as if it had lost the focus.
    bool leaveActiveControl();
    // Before a record is stored: every field within its length, or the first one that is not
    // is told and gets the focus back.
    bool storable(const QList<QWidget*>& fields);

private:
    Dialogs& m_dialogs;
    FieldFocus& m_focus;
    LookupBoxes& m_lookups;
    QLineEdit* m_species;
};
