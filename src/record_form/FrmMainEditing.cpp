// Adding, storing, cancelling and deleting sightings.
#include "record_form/FormComboBox.h"
#include "record_form/FrmMain.h"

#include "app/Program.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

bool FrmMain::storeRecordShown() {
    // The record shown must be complete, and its changes are stored; when they cannot be, the
    // user stays on that record with the typing.
    if (!CommonNameEntered()) {
        return false;
    }
    if (DbError error = Data1.updateRecord()) {
        reportStoreError(error);
        return false;
    }
    return true;
}

void FrmMain::cmdAdd_Click() {
    if (!storeRecordShown()) {
        return;
    }
    SetBrowseMode(false);
    if (DbError error = Data1.addNew()) {
        SetBrowseMode(true);
        showDatabaseError(error);
        return;
    }
    LoadFamilyList();
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
        showDatabaseError(error.error);
    }
    SetBrowseMode(true);
    mblnFirstRecord = false;
    m_buttons.value(QStringLiteral("cmdCancel"))->setEnabled(true);
}

void FrmMain::cmdCancel_Click() {
    if (DbError error = Data1.cancelUpdate()) {
        showDatabaseError(error);
    }
    SetBrowseMode(true);
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
        showDatabaseError(error);
        return;
    } else if (DataError moved = Data1.navigate(moveNextOrLast, false)) {
        showDatabaseError(moved.error);
        return;
    }
    UpdateTotalSightings(true);
}
