// Sightings brought in from eBird or from a spreadsheet, and the life list saved as one.
#include "record_form/ChecklistPicker.h"
#include "record_form/FrmMain.h"
#include "record_form/ImportBar.h"
#include "record_form/LookupBoxes.h"

#include "database/Schema.h"
#include "record_form/ImportSightings.h"
#include "record_form/SaveSpreadsheet.h"
#include "services/MValidation.h"
#include "services/Program.h"

#include <QLineEdit>

void FrmMain::mnuImportEBird_Click() {
    importSightingsFrom(true);
}

void FrmMain::mnuImportCsv_Click() {
    importSightingsFrom(false);
}

void FrmMain::importSightingsFrom(bool eBird) {
    // What the user typed is stored first, as on leaving the record.
    if (storeRecordShown()) {
        return;
    }
    Recordset* records = Data1.recordset();
    if (!records || !records->isOpen()) {
        return;
    }
    // The starter record no one has written over yet gives its place to the first sighting.
    qint64 starter = 0;
    if (mblnFirstRecord && records->recordCount() == 1 &&
        records->value(field::CommonName).toString() == lifelist::kStarterName) {
        starter = records->value(field::Number).toLongLong();
    }
    if (eBird && !m_picker->checklist()) {
        m_picker->load();
    }
    const int added =
        importSightings(m_program, eBird ? ImportSource::EBird : ImportSource::Spreadsheet,
                        m_picker->checklist(), starter, *m_importBar);
    if (added == 0) {
        return;
    }
    showListAgain();
    if (mblnFirstRecord) {
        mblnFirstRecord = false;
        SetBrowseMode(true);
    }
    txtCommonName->setFocus(Qt::OtherFocusReason);
}

void FrmMain::showListAgain() {
    m_lookups->LoadLookupLists();
    if (DbError error = Data1.refresh()) {
        ShowDatabaseError(error);
        return;
    }
    if (DataError error = Data1.navigate(&Recordset::moveLast, false)) {
        ShowDatabaseError(error.error);
    }
    UpdateTotalSightings(false);
}

void FrmMain::mnuSaveCopyCsv_Click() {
    if (!CommonNameEntered()) {
        return;
    }
    const std::optional<QString> fileName = chooseSaveFile(
        m_program.dialogs, QStringLiteral("Save Life List As Spreadsheet"),
        QStringLiteral("Spreadsheet (*.csv)"),
        m_program.app.filePath(QStringLiteral("My Life List.csv")), QStringLiteral("csv"));
    if (!fileName) {
        return;
    }
    // Edits of the sighting shown go into the file; when they cannot be stored, the file is
    // made from the life list as it is.
    Data1.updateRecord();
    saveLifeListAsSpreadsheet(m_program, *fileName, [this](bool writing) { setEnabled(!writing); });
}
