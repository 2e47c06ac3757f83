// The record form's modes, its binding to the current record, navigation and the total.
#include "record_form/FormComboBox.h"
#include "record_form/FrmMain.h"

#include "app/Program.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

namespace {

// Commands whose windows are not part of the program yet; they stay disabled in every mode.
const QSet<QString>& notYetAvailable() {
    static const QSet<QString> names{
        QStringLiteral("cmdAddImage"),   QStringLiteral("mnuAddImage"),
        QStringLiteral("cmdStatistics"), QStringLiteral("mnuStatistics"),
        QStringLiteral("cmdReport"),     QStringLiteral("mnuViewList"),
        QStringLiteral("mnuPrintList"),  QStringLiteral("mnuEditDatabase"),
        QStringLiteral("mnuSaveCopy"),
    };
    return names;
}

}  // namespace

void FrmMain::setCommandEnabled(const QString& name, bool enabled) {
    const bool available = !notYetAvailable().contains(name);
    if (QPushButton* button = m_buttons.value(name)) {
        button->setEnabled(enabled && available);
    } else if (QAction* item = m_items.value(name)) {
        item->setEnabled(enabled && available);
    }
}

void FrmMain::setButtonVisible(const QString& name, bool visible) {
    m_buttons.value(name)->setVisible(visible);
}

void FrmMain::SetBrowseMode(bool bBrowse) {
    const bool b = bBrowse;
    for (const char* name : {"cmdFirst", "mnuFirst", "cmdNext", "mnuNext", "cmdPrevious",
                             "mnuPrevious", "cmdLast", "mnuLast"}) {
        setCommandEnabled(QLatin1String(name), b);
    }
    setButtonVisible(QStringLiteral("cmdAdd"), b);
    setCommandEnabled(QStringLiteral("mnuAdd"), b);
    setButtonVisible(QStringLiteral("cmdCancel"), !b);
    setCommandEnabled(QStringLiteral("mnuCancel"), !b);
    setButtonVisible(QStringLiteral("cmdUpdate"), !b);
    setCommandEnabled(QStringLiteral("mnuUpdate"), !b);
    setButtonVisible(QStringLiteral("cmdDelete"), b);
    setCommandEnabled(QStringLiteral("mnuDelete"), b);
    for (const char* name :
         {"cmdAddImage", "mnuAddImage", "cmdSearch", "mnuSearchList", "cmdStatistics",
          "mnuStatistics", "cmdReport", "mnuViewList", "mnuPrintList", "mnuCompactDB",
          "mnuRepairDB", "mnuExit", "mnuEditDatabase", "mnuSaveCopy"}) {
        setCommandEnabled(QLatin1String(name), b);
    }
}

void FrmMain::SetSearchMode(bool bSearch) {
    const bool s = bSearch;
    for (const char* name : {"cmdFindFirst", "cmdFindNext", "cmdFindPrevious", "cmdFindLast"}) {
        setButtonVisible(QLatin1String(name), s);
    }
    for (const char* name : {"mnuFindFirst", "mnuFindNext", "mnuFindPrevious", "mnuFindLast"}) {
        setCommandEnabled(QLatin1String(name), s);
    }
    for (const char* name : {"cmdFirst", "cmdNext", "cmdPrevious", "cmdLast"}) {
        setButtonVisible(QLatin1String(name), !s);
    }
    for (const char* name : {"mnuFirst", "mnuNext", "mnuPrevious", "mnuLast", "cmdAdd", "mnuAdd",
                             "cmdDelete", "mnuDelete", "cmdAddImage", "mnuAddImage"}) {
        setCommandEnabled(QLatin1String(name), !s);
    }
    setButtonVisible(QStringLiteral("cmdSearch"), !s);
    setCommandEnabled(QStringLiteral("mnuSearchList"), !s);
    setButtonVisible(QStringLiteral("cmdCancelSearch"), s);
    setCommandEnabled(QStringLiteral("mnuCancelSearch"), s);
    for (const char* name :
         {"cmdStatistics", "mnuStatistics", "cmdReport", "mnuViewList", "mnuPrintList",
          "mnuCompactDB", "mnuRepairDB", "mnuExit", "mnuEditDatabase", "mnuSaveCopy"}) {
        setCommandEnabled(QLatin1String(name), !s);
    }
}

bool FrmMain::searchTargetsEntered() const {
    return !lblEnterSearch->isHidden();
}

bool FrmMain::UpdateTotalSightings(bool bSaveFirst) {
    if (bSaveFirst) {
        if (DbError error = Data1.updateRecord()) {
            reportStoreError(error);
            return false;
        }
    }
    const Recordset* records = Data1.recordset();
    lblTotalSightings->setText(
        QStringLiteral("Total Sightings: %1").arg(records ? records->recordCount() : 0));
    return true;
}

bool FrmMain::CommonNameEntered() {
    if (!txtCommonName->text().isEmpty()) {
        return true;
    }
    m_program.dialogs.msgBox(QStringLiteral("A Common Name must be entered."),
                             mb::Exclamation | mb::OKOnly, QStringLiteral("Invalid Entry"));
    returnFocusTo(txtCommonName, false);
    return false;
}

void FrmMain::Data1_Reposition() {
    Recordset* records = Data1.recordset();
    if (!records || !records->isOpen()) {
        return;
    }
    LoadFamilyList();
    const QString family = nullToEmpty(records->value(QStringLiteral("Family")));
    if (!family.isEmpty() && !records->eof() && !records->bof()) {
        const QSignalBlocker blocker(cboFamily);
        cboFamily->setEditText(family);
    }
    m_panel2->setText(QStringLiteral("Record %1 ").arg(records->absolutePosition() + 1));
    // The fixed lists check the month and year of the record shown.
    if (records->absolutePosition() >= 0) {
        fixedListChange(cboMonth);
        fixedListChange(cboYear);
    }
}

void FrmMain::navigate(DbError (*step)(Recordset&)) {
    if (!CommonNameEntered()) {
        return;
    }
    if (DataError error = Data1.navigate(step)) {
        if (error.whileStoring) {
            reportStoreError(error.error);
        } else {
            showDatabaseError(error.error);
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
