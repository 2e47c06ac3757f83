#pragma once

#include "database/BoundControl.h"
#include "database/Recordset.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

// The moves of the record form's Next and Previous: past the end the last record (the first)
// stays current.
DbError moveNextOrLast(Recordset& records);
DbError movePreviousOrFirst(Recordset& records);

// A failure of the data control, and whether it happened while storing the user's typing (then
// the typed values are still on the controls) or while moving.
struct DataError {
    DbError error;
    bool whileStoring = false;
    explicit operator bool() const { return bool(error); }
};

// The record form's data control: it shows the current record of a recordset through bound
// controls, and stores what the user typed when the record is left or stored explicitly.
// The controls themselves hold the typing; a control's value counts as changed (DataChanged)
// while its text differs from what was shown when the record became current.
class DataControl {
public:
    // Runs after a record became current and was shown.
    std::function<void()> onReposition;
    // Runs before the typing is stored; when it returns false (having told the user why),
    // nothing is stored, the typing stays, and the store fails with DbError::Cancelled.
    std::function<bool()> onValidate;
    // Runs before the current record is left (a move, a new record, a refresh), deleted, or
    // stored with changes, while it is still current.
    std::function<void()> onLeave;

    void bind(const QString& field, BoundControl* control);

    // Binds to a recordset (or none) and shows its current record.
    void setRecordset(std::shared_ptr<Recordset> recordset);
    Recordset* recordset() const { return m_recordset.get(); }

    bool adding() const { return m_adding; }
    // The text the control bound to a field holds now; empty for a field not bound.
    QString text(const QString& field) const;
    bool dataChanged(const BoundControl* control) const;
    bool anyChanged() const;

    // Stores the changed values into the current record, or the new record into the table
    // (which then becomes the current record). On failure the typed values stay.
    DbError updateRecord();
    // Starts a new, empty record.
    DbError addNew();
    // Drops the new record; the record current before it is shown again.
    DbError cancelUpdate();
    // Reads the records again from the file and shows the first.
    DbError refresh();
    // Stores the user's changes (unless `store` is false), runs `step` on the recordset and
    // shows the record it made current.
    DataError navigate(const std::function<DbError(Recordset&)>& step, bool store = true);
    // Deletes the current record; it stays on the controls until the next move.
    DbError deleteCurrent();
    // Shows the current record (empty controls when there is none) and runs onReposition.
    void show();

private:
    struct Binding {
        QString field;
        BoundControl* control = nullptr;
        QString shown;
    };
    void showValues(bool empty);
    void leave();

    QList<Binding> m_bindings;
    std::shared_ptr<Recordset> m_recordset;
    bool m_adding = false;
};
