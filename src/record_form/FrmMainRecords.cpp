// The record form's modes, navigation, the total, and adding, storing, cancelling and deleting
// sightings.
#include "database/Schema.h"
#include "record_form/FieldFocus.h"
#include "record_form/FormComboBox.h"
#include "record_form/FrmMain.h"

#include "record_form/ChecklistPicker.h"
#include "record_form/LookupBoxes.h"

#include "services/MDatabase.h"
#include "services/Program.h"

#include <QLabel>
#include <QLineEdit>

void FrmMain::setMode(FormMode mode) {
    m_commands->applyMode(mode);
    m_picker->setActive(mode != FormMode::Search);
    UpdateGoToRecord();
    UpdateImageButtons();
}

void FrmMain::SetBrowseMode(bool browse) {
    setMode(browse ? FormMode::Browse : FormMode::Add);
}

void FrmMain::SetSearchMode(bool search) {
    setMode(search ? FormMode::Search : FormMode::Browse);
}

bool FrmMain::UpdateTotalSightings(bool saveFirst) {
    if (saveFirst) {
        if (DbError error = Data1.updateRecord()) {
            reportDatabaseError(m_program, error);
            return false;
        }
    }
    const Recordset* records = Data1.recordset();
    lblTotalSightings->setText(
        QStringLiteral("Total Sightings: %1").arg(records ? records->recordCount() : 0));
    return true;
}

bool FrmMain::CommonNameEntered() {
    // A record that could not be read (the file failed meanwhile) shows nothing to check: the
    // next move reads the list again.
    const Recordset* records = Data1.recordset();
    const bool shown = Data1.adding() || (records && records->isOpen() && records->valuesRead());
    if (!txtCommonName->text().isEmpty() || !shown) {
        return true;
    }
    m_program.dialogs.msgBox(QStringLiteral("A Common Name must be entered."),
                             mb::Exclamation | mb::OKOnly, QStringLiteral("Invalid Entry"));
    m_focus->returnTo(txtCommonName, false);
    return false;
}

void FrmMain::Data1_Reposition() {
    Recordset* records = Data1.recordset();
    if (!records || !records->isOpen()) {
        return;
    }
    m_picker->recordShown();
    m_lookups->showFamilyList();
    const QString family = nullToEmpty(records->value(field::Family));
    if (!family.isEmpty() && !records->eof() && !records->bof()) {
        const QSignalBlocker blocker(cboFamily);
        cboFamily->setEditText(family);
    }
    m_panel2->setText(QStringLiteral("Record %1 ").arg(records->absolutePosition() + 1));
    // The fixed lists check the month and year of the record shown.
    if (records->absolutePosition() >= 0) {
        m_lookups->fixedListChange(cboMonth);
        m_lookups->fixedListChange(cboYear);
    }
    UpdateImageButtons();
}

void FrmMain::navigate(DbError (*step)(Recordset&)) {
    if (!CommonNameEntered()) {
        return;
    }
    if (DataError error = Data1.navigate(step)) {
        if (error.whileStoring) {
            reportDatabaseError(m_program, error.error);
        } else {
            ShowDatabaseError(error.error);
        }
    }
}

void FrmMain::cmdFirst_Click() {
    navigate([](Recordset& records) { return records.moveFirst(); });
}

void FrmMain::cmdPrevious_Click() {
    navigate(movePreviousOrFirst);
}

void FrmMain::cmdNext_Click() {
    navigate(moveNextOrLast);
}

void FrmMain::cmdLast_Click() {
    navigate([](Recordset& records) { return records.moveLast(); });
}

DbError FrmMain::storeRecordShown() {
    // The record shown must be complete, and its changes are stored; when they cannot be, the
    // user stays on that record with the typing.
    if (!CommonNameEntered()) {
        return DbError::cancelled();
    }
    const DbError error = Data1.updateRecord();
    if (error) {
        reportDatabaseError(m_program, error);
    }
    return error;
}

void FrmMain::cmdAdd_Click() {
    if (storeRecordShown()) {
        return;
    }
    SetBrowseMode(false);
    if (DbError error = Data1.addNew()) {
        SetBrowseMode(true);
        ShowDatabaseError(error);
        return;
    }
    m_lookups->LoadFamilyList();
    txtCommonName->setFocus(Qt::OtherFocusReason);
}

void FrmMain::cmdUpdate_Click() {
    if (!CommonNameEntered()) {
        return;
    }
    // When the record cannot be stored the form stays as it is, with the typing.
    if (!UpdateTotalSightings(true)) {
        return;
    }
    if (DataError error = Data1.navigate(&Recordset::moveLast, false)) {
        ShowDatabaseError(error.error);
    }
    SetBrowseMode(true);
    mblnFirstRecord = false;
}

void FrmMain::cmdCancel_Click() {
    if (DbError error = Data1.cancelUpdate()) {
        ShowDatabaseError(error);
    }
    SetBrowseMode(true);
    UpdateImageButtons();
    txtCommonName->setFocus(Qt::OtherFocusReason);
}

void FrmMain::cmdDelete_Click() {
    const int answer = m_program.dialogs.msgBox(
        QStringLiteral("Do you want to delete this record?"),
        mb::Question | mb::YesNo | mb::DefaultButton2, QStringLiteral("Delete Confirmation"));
    if (answer != mb::Yes) {
        return;
    }
    Recordset* records = Data1.recordset();
    if (records && records->recordCount() < 2) {
        m_program.dialogs.msgBox(
            QStringLiteral("Bird List must contain at least one record.\n"
                           "You can, however, write over the values on this record."),
            mb::Exclamation | mb::OKOnly, QStringLiteral("Cannot Delete Record"));
    } else if (DbError error = Data1.deleteCurrent()) {
        ShowDatabaseError(error);
        return;
    } else if (DataError moved = Data1.navigate(moveNextOrLast, false)) {
        ShowDatabaseError(moved.error);
        return;
    }
    UpdateTotalSightings(true);
}
