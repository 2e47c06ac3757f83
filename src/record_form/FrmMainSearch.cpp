// Search mode of the record form: the user types targets into the fields, and the Find
// commands move among the sightings that match every target.
#include "record_form/FrmMain.h"

#include "services/MDatabase.h"
#include "services/Program.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void FrmMain::showSearchTitle(bool enteringTargets) {
    lblEnterSearch->setVisible(enteringTargets);
    lblTitle->setVisible(!enteringTargets);
}

void FrmMain::cmdSearch_Click() {
    // The target record must not take the place of typing that could not be stored.
    if (storeRecordShown()) {
        return;
    }
    SetSearchMode(true);
    showSearchTitle(true);
    if (DbError error = m_search.begin()) {
        showSearchTitle(false);
        SetSearchMode(false);
        ShowDatabaseError(error);
        return;
    }
    txtCommonName->setFocus(Qt::OtherFocusReason);
}

bool FrmMain::BuildSearchCriteria() {
    m_program.cursor.setMousePointer(WaitCursor::Hourglass);
    showSearchTitle(false);
    if (m_search.buildCriteria()) {
        return true;
    }
    m_program.cursor.setMousePointer(WaitCursor::Default);
    m_program.dialogs.msgBox(QStringLiteral("Please enter at least one value to search for"),
                             mb::Information | mb::OKOnly, QStringLiteral("No Search Target"));
    cmdSearch_Click();
    return false;
}

void FrmMain::findMatch(SearchSession::Find which) {
    if (!m_search.criteriaBuilt() && !BuildSearchCriteria()) {
        return;
    }
    const SearchSession::Result result = m_search.find(which);
    m_program.cursor.setMousePointer(WaitCursor::Default);
    switch (result.outcome) {
        case SearchSession::Outcome::Found:
            break;
        case SearchSession::Outcome::NoMatch:
            m_program.dialogs.msgBox(QStringLiteral("No matching record was found."),
                                     mb::Information | mb::OKOnly,
                                     QStringLiteral("Search Results"));
            m_commands->button(Cmd::CancelSearch)->setFocus(Qt::OtherFocusReason);
            break;
        case SearchSession::Outcome::Failed:
            if (result.error.whileStoring) {
                reportDatabaseError(m_program, result.error.error);
            } else {
                ShowDatabaseError(result.error.error);
            }
            break;
    }
}

void FrmMain::cmdCancelSearch_Click() {
    showSearchTitle(false);
    if (m_search.criteriaBuilt()) {
        // The record found last stays; it must be complete to be left.
        if (!CommonNameEntered()) {
            return;
        }
    } else {
        // Only targets were typed: they are dropped with their record.
        m_search.dropTargets();
    }
    SetSearchMode(false);
    UpdateImageButtons();
    txtCommonName->setFocus(Qt::OtherFocusReason);
    m_search.end();
}
