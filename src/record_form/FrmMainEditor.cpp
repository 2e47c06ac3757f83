// The life-list editor opened from the record form, and the form brought up to date after it.
#include "record_form/FrmMain.h"

#include "editor/FrmEdit.h"
#include "record_form/LookupBoxes.h"
#include "services/Program.h"

void FrmMain::mnuEditDatabase_Click() {
    // The record shown is stored first: the form reads the life list again afterwards, which
    // would drop typing that was not stored.
    if (storeRecordShown()) {
        return;
    }
    Recordset* records = Data1.recordset();
    if (!records || !records->isOpen()) {
        return;
    }
    const int position = records->absolutePosition();
    {
        FrmEdit frmEdit(m_program, this);
        frmEdit.Form_Load();
        frmEdit.exec();
    }
    // The lists and the record read again, and the same record shown.
    m_lookups->LoadLookupLists();
    Data1.refresh();
    Data1.navigate([position](Recordset& again) { return again.move(position); }, false);
}
