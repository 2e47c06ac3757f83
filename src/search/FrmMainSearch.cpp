// Search mode of the record form: the user types targets into the fields, and the Find
// commands move among the sightings that match every target.
#include "record_form/FrmMain.h"

#include "app/Program.h"
#include "search/SearchCriteria.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void FrmMain::cmdSearch_Click() {
    // The target record must not take the place of typing that could not be stored.
    if (!storeRecordShown()) {
        return;
    }
    SetSearchMode(true);
    lblEnterSearch->show();
    lblTitle->hide();
    mblnCriteriaBuilt = false;
    Recordset* records = Data1.recordset();
    mvarBookmark = records ? records->bookmark() : QVariant();
    // An empty new record takes the targets; it is never stored.
    if (DbError error = Data1.addNew()) {
        lblEnterSearch->hide();
        lblTitle->show();
        SetSearchMode(false);
        mblnCriteriaBuilt = true;
        showDatabaseError(error);
        return;
    }
    txtCommonName->setFocus(Qt::OtherFocusReason);
}

bool FrmMain::BuildSearchCriteria() {
    m_program.cursor.setMousePointer(WaitCursor::Hourglass);
    lblEnterSearch->hide();
    lblTitle->show();
    mstrCriteria =
        search::buildCriteria([this](const QString& field) { return Data1.text(field); });
    // The target record is dropped and the record shown before search mode is current again.
    Data1.cancelUpdate();
    if (!mstrCriteria.isEmpty()) {
        mblnCriteriaBuilt = true;
        return true;
    }
    m_program.cursor.setMousePointer(WaitCursor::Default);
    m_program.dialogs.msgBox(QStringLiteral("Please enter at least one value to search for"),
                             mb::Information | mb::OKOnly, QStringLiteral("No Search Target"));
    cmdSearch_Click();
    return false;
}

void FrmMain::findMatch(DbError (Recordset::*operation)(const Criteria&)) {
    if (!mblnCriteriaBuilt && !BuildSearchCriteria()) {
        return;
    }
    // The record shown is left as on any move: what was typed on it is stored first.
    const DataError error = Data1.navigate([this, operation](Recordset& records) {
        if (DbError failed = (records.*operation)(mstrCriteria)) {
            return failed;
        }
        // Nothing found: the record shown before the Find is current again.
        return records.noMatch() ? records.setBookmark(mvarBookmark) : DbError{};
    });
    if (error) {
        m_program.cursor.setMousePointer(WaitCursor::Default);
        if (error.whileStoring) {
            reportStoreError(error.error);
        } else {
            showDatabaseError(error.error);
        }
        return;
    }
    ShowFindResult();
}

void FrmMain::ShowFindResult() {
    m_program.cursor.setMousePointer(WaitCursor::Default);
    const Recordset* records = Data1.recordset();
    if (records->noMatch()) {
        m_program.dialogs.msgBox(QStringLiteral("No matching record was found."),
                                 mb::Information | mb::OKOnly, QStringLiteral("Search Results"));
        m_buttons.value(QStringLiteral("cmdCancelSearch"))->setFocus(Qt::OtherFocusReason);
        return;
    }
    mvarBookmark = records->bookmark();
}

void FrmMain::cmdFindFirst_Click() {
    findMatch(&Recordset::findFirst);
}

void FrmMain::cmdFindPrevious_Click() {
    findMatch(&Recordset::findPrevious);
}

void FrmMain::cmdFindNext_Click() {
    findMatch(&Recordset::findNext);
}

void FrmMain::cmdFindLast_Click() {
    findMatch(&Recordset::findLast);
}

void FrmMain::cmdCancelSearch_Click() {
    lblEnterSearch->hide();
    lblTitle->show();
    if (mblnCriteriaBuilt) {
        // The record found last stays; it must be complete to be left.
        if (!CommonNameEntered()) {
            return;
        }
    } else {
        // Only targets were typed: they are dropped with their record.
        Data1.cancelUpdate();
    }
    SetSearchMode(false);
    txtCommonName->setFocus(Qt::OtherFocusReason);
    mblnCriteriaBuilt = true;
}
