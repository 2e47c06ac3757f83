// The record form's side of the statistics: opening the window, and what it reads and shows
// here while it counts.
#include "record_form/FrmMain.h"

#include "record_form/FormComboBox.h"
#include "statistics_form/FrmStatistics.h"

#include <QLabel>
#include <QProgressBar>

void FrmMain::cmdStatistics_Click() {
    if (!m_statistics) {
        // The window counts when it loads, before it is shown.
        m_statistics = new FrmStatistics(m_program, *this, this);
        m_statistics->Form_Load();
    }
    if (m_statistics->isMinimized()) {
        m_statistics->showNormal();
    }
    m_statistics->show();
    m_statistics->raise();
    m_statistics->activateWindow();
}

namespace {

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items.append(box->itemText(i));
    }
    return items;
}

}  // namespace

FixedLists FrmMain::fixedLists() const {
    return {itemsOf(cboRegion), itemsOf(cboMonth), itemsOf(cboYear)};
}

QString FrmMain::totalCaption() const {
    return lblTotalSightings->text();
}

void FrmMain::storePendingChange() {
    // Only a sighting being browsed is stored: a new one is stored by its own command, and
    // search targets never are.
    if (currentMode() == FormMode::Browse && Data1.anyChanged()) {
        storeRecordShown();
    }
}

void FrmMain::showCounting(bool counting) {
    // The title comes back only where it was: in search mode the form shows its prompt instead.
    if (counting) {
        m_titleHidden = !lblTitle->isVisibleTo(this);
        pbrProgress->setValue(0);
    }
    lblTitle->setVisible(!counting && !m_titleHidden);
    pbrProgress->setVisible(counting);
    lblProcessing->setVisible(counting);
    if (counting) {
        lblProcessing->repaint();
    }
    setEnabled(!counting);
}

void FrmMain::setProgress(int percent) {
    pbrProgress->setValue(percent);
    pbrProgress->repaint();
}
