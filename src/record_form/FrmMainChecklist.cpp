// The sighting already on the life list of a species picked from the world checklist, and the
// command that shows it.
#include "database/Schema.h"
#include "record_form/FrmMain.h"

#include "record_form/ChecklistPicker.h"
#include "record_form/StatusHints.h"
#include "services/MDatabase.h"

qint64 FrmMain::shownNumber() const {
    const Recordset* records = Data1.recordset();
    if (Data1.adding() || !records || !records->isOpen() || records->absolutePosition() < 0) {
        return 0;
    }
    return records->value(field::Number).toLongLong();
}

void FrmMain::UpdateGoToRecord() {
    m_commands->setEnabled(Cmd::GoToRecord, command(Cmd::GoToRecord).enabled.has(currentMode()) &&
                                                m_picker && m_picker->flaggedRecord() > 0);
}

void FrmMain::mnuGoToRecord_Click() {
    const qint64 number = m_picker->flaggedRecord();
    if (number <= 0 || !CommonNameEntered()) {
        return;
    }
    // The record shown is stored as on every move, the picked species with it.
    const DataError error =
        Data1.navigate([number](Recordset& records) { return records.setBookmark(number); });
    if (error.whileStoring) {
        reportDatabaseError(m_program, error.error);
        return;
    }
    m_picker->clearFlag();
    if (error.error.number == DbError::InvalidBookmark) {
        m_hints->show(QStringLiteral("Record %1 is no longer on your life list").arg(number));
    } else if (error) {
        ShowDatabaseError(error.error);
    }
}
