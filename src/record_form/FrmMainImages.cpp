// The picture links of the sighting shown: the commands that add and view them, and the viewer
// that belongs to the sighting while the form shows it.
#include "database/Schema.h"
#include "record_form/FrmMain.h"

#include "services/Program.h"
#include "viewer/FrmViewer.h"

void FrmMain::UpdateImageButtons() {
    // Only a stored sighting that is browsed has links to show: search targets and a sighting
    // being added have none.
    const Recordset* records = Data1.recordset();
    const bool linked = currentMode() == FormMode::Browse && !Data1.adding() && records &&
                        records->isOpen() && records->absolutePosition() >= 0 &&
                        !nullToEmpty(records->value(field::Images)).isEmpty();
    m_commands->setEnabled(Cmd::ViewImages, linked);
}

FrmViewer* FrmMain::loadViewer() {
    if (!m_viewer || m_viewer->unloaded()) {
        m_viewer = new FrmViewer(m_program, this);
        // Links added to a sighting without any, or its last link removed, change what View
        // Images can do.
        connect(m_viewer, &FrmViewer::linksStored, this, [this] {
            if (!m_unloaded) {
                UpdateImageButtons();
            }
        });
        if (!m_viewer->Form_Load()) {
            m_viewer->unload();
            m_viewer = nullptr;
        }
    }
    return m_viewer;
}

void FrmMain::cmdAddImage_Click() {
    // A sighting being created, or search targets being typed, has no stored record to link
    // pictures to yet.
    if (command(Cmd::Update).shown.has(currentMode()) || Data1.adding()) {
        m_program.dialogs.msgBox(
            QStringLiteral("You must first finish creating this record before adding images."),
            mb::Information | mb::OKOnly, QStringLiteral("Record Update Pending"));
        return;
    }
    FrmViewer* viewer = loadViewer();
    if (!viewer) {
        return;
    }
    viewer->blnAddMode = true;
    viewer->cmdAdd_Click();
}

void FrmMain::cmdViewImages_Click() {
    if (Data1.adding()) {
        return;
    }
    FrmViewer* viewer = loadViewer();
    if (!viewer) {
        return;
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

void FrmMain::Data1_Validate() {
    // The viewer never outlives its sighting: its links are written back to it first.
    if (m_viewer && !m_viewer->unloaded()) {
        m_viewer->unload();
    }
    m_viewer = nullptr;
}
