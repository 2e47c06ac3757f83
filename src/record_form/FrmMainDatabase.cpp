// The life-list file seen from the record form: error reports, compacting and repairing.
#include "record_form/FrmMain.h"

#include "app/Program.h"
#include "database/Maintenance.h"
#include "database/OpenBirdList.h"

void FrmMain::reportStoreError(const DbError& error) {
    m_program.cursor.setMousePointer(WaitCursor::Default);
    m_program.dialogs.msgBox(
        QStringLiteral("Error %1:\n%2").arg(error.number).arg(error.description),
        mb::Critical | mb::OKOnly, QStringLiteral("Database Error"));
}

void FrmMain::ShowDatabaseError(int lErrNumber, const QString& strDescription) {
    reportStoreError(DbError{lErrNumber, strDescription});
    // The same record is shown again as it is stored.
    Recordset* records = Data1.recordset();
    if (!records || !records->isOpen()) {
        return;
    }
    mvarBookmark = records->bookmark();
    Data1.refresh();
    if (mvarBookmark.isValid()) {
        Data1.navigate([this](Recordset& again) { return again.setBookmark(mvarBookmark); }, false);
    }
}

void FrmMain::MaintainDatabase(bool bCompact) {
    // What was typed on the record shown is stored before the file is closed.
    if (DbError error = Data1.updateRecord()) {
        reportStoreError(error);
        return;
    }
    const QVariant number =
        Data1.recordset() ? Data1.recordset()->value(QStringLiteral("Number")) : QVariant();
    m_program.closeBirdList();

    if (bCompact) {
        compactBirdList(m_program, Program::birdListName());
    } else {
        repairBirdList(m_program, Program::birdListName());
    }

    const QString title = (bCompact ? QStringLiteral("Compact") : QStringLiteral("Repair")) +
                          QStringLiteral(" Database Error");
    const bool opened = openBirdListDatabase(m_program);
    Data1.setRecordset(opened ? m_program.grsBirdList : nullptr);
    UpdateTotalSightings(false);
    LoadLookupLists();
    if (!opened) {
        m_program.dialogs.msgBox(
            QStringLiteral("The life list could not be opened again. Use Repair Database from "
                           "the Tools menu to try once more."),
            mb::Exclamation | mb::OKOnly, title);
        return;
    }
    const DataError error = Data1.navigate(
        [&number](Recordset& records) {
            if (number.isValid()) {
                if (DbError found =
                        records.findFirst(Criteria::equals(QStringLiteral("Number"), number))) {
                    return found;
                }
                if (!records.noMatch()) {
                    return DbError{};
                }
            }
            return records.moveLast();
        },
        false);
    if (error) {
        m_program.dialogs.msgBox(error.error.description, mb::Exclamation | mb::OKOnly, title);
    }
}

void FrmMain::mnuCompactDB_Click() {
    if (m_program.dialogs.msgBox(QStringLiteral("Would you like compact life list database now?"),
                                 mb::Question | mb::YesNo,
                                 QStringLiteral("Compact Database")) == mb::Yes) {
        MaintainDatabase(true);
    }
}

void FrmMain::mnuRepairDB_Click() {
    if (m_program.dialogs.msgBox(
            QStringLiteral("Would you like to attempt life list database repair now?\n"
                           "(A backup database file will be added to your Plovix folder.)"),
            mb::Question | mb::YesNo, QStringLiteral("Repair Database")) == mb::Yes) {
        MaintainDatabase(false);
    }
}
