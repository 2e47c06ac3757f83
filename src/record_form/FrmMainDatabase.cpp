// The life-list file seen from the record form: error reports, compacting and repairing.
#include "database/Schema.h"
#include "record_form/FrmMain.h"

#include "record_form/LookupBoxes.h"
#include "services/MDatabase.h"
#include "services/Program.h"

void FrmMain::ShowDatabaseError(int errorNumber, const QString& errorText) {
    reportDatabaseError(m_program, DbError{errorNumber, errorText});
    // The same record is shown again as it is stored.
    Recordset* records = Data1.recordset();
    if (!records || !records->isOpen()) {
        return;
    }
    const QVariant bookmark = records->bookmark();
    Data1.refresh();
    if (bookmark.isValid()) {
        Data1.navigate([&bookmark](Recordset& again) { return again.setBookmark(bookmark); },
                       false);
    }
}

void FrmMain::MaintainDatabase(bool toCompact) {
    // The viewer's links, and what was typed on the record shown, are stored before the file
    // is closed. A form that lost its file has nothing to store, and is bound again once the
    // file opens.
    Data1_Validate();
    Recordset* records = Data1.recordset();
    if (records && records->isOpen()) {
        if (DbError error = Data1.updateRecord()) {
            reportDatabaseError(m_program, error);
            return;
        }
    }
    const QVariant number =
        records && records->isOpen() ? records->value(field::Number) : QVariant();
    m_program.closeBirdList();

    if (toCompact) {
        compactBirdList(m_program, Program::birdListName());
    } else {
        repairBirdList(m_program, Program::birdListName());
    }

    const QString title = (toCompact ? QStringLiteral("Compact") : QStringLiteral("Repair")) +
                          QStringLiteral(" Database Error");
    const bool opened = openBirdListDatabase(m_program);
    Data1.setRecordset(opened ? m_program.grsBirdList : nullptr);
    UpdateTotalSightings(false);
    m_lookups->LoadLookupLists();
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
                if (DbError found = records.findFirst(Criteria::equals(field::Number, number))) {
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
    // The record shown is stored first: without its name it is not.
    if (CommonNameEntered() &&
        m_program.dialogs.msgBox(QStringLiteral("Would you like compact life list database now?"),
                                 mb::Question | mb::YesNo,
                                 QStringLiteral("Compact Database")) == mb::Yes) {
        MaintainDatabase(true);
    }
}

void FrmMain::mnuRepairDB_Click() {
    if (CommonNameEntered() &&
        m_program.dialogs.msgBox(
            QStringLiteral("Would you like to attempt life list database repair now?\n"
                           "(A backup database file will be added to your Plovix folder.)"),
            mb::Question | mb::YesNo, QStringLiteral("Repair Database")) == mb::Yes) {
        MaintainDatabase(false);
    }
}
