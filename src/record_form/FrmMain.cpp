#include "record_form/FrmMain.h"

#include "app/MWindow.h"
#include "app/Program.h"
#include "app/UserName.h"
#include "database/Schema.h"
#include "record_form/FormComboBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

FrmMain::FrmMain(Program& program, std::function<void()> endProgram, QWidget* parent)
    : QMainWindow(parent), m_program(program), m_endProgram(std::move(endProgram)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/plovix.png")));
    buildForm();
    buildStatusBar();
    buildMenus();
    connectCommands();
    watchControls();
    resize(1000, 700);
}

FrmMain::~FrmMain() = default;

DbError FrmMain::Form_Load() {
    mblnCriteriaBuilt = true;
    Recordset& records = *m_program.grsBirdList;
    if (records.recordCount() >= 2) {
        // The form opens on the most recent sighting.
        if (DbError error = records.moveLast()) {
            return error;
        }
    } else if (records.value(QStringLiteral("CommonName")).toString() == lifelist::kStarterName) {
        mblnFirstRecord = true;
    }
    Data1.setRecordset(m_program.grsBirdList);
    UpdateTotalSightings(false);
    formPosition(this, false, *m_program.gobjSettings);
    LoadLookupLists();
    return {};
}

void FrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The form becomes the active window when it is first shown; message boxes closing over it
    // do not count.
    if (!m_activated) {
        m_activated = true;
        activateWindow();
        Form_Activate();
    }
}

void FrmMain::Form_Activate() {
    if (!mblnFirstRecord) {
        return;
    }
    txtCommonName->setFocus(Qt::OtherFocusReason);
    txtCommonName->selectAll();
    SetBrowseMode(false);
    m_items.value(QStringLiteral("mnuExit"))->setEnabled(true);
    m_items.value(QStringLiteral("mnuCancel"))->setEnabled(false);
    m_buttons.value(QStringLiteral("cmdCancel"))->setEnabled(false);
}

void FrmMain::mnuExit_Click() {
    if (!CommonNameEntered()) {
        return;
    }
    close();
}

void FrmMain::mnuOwnerName_Click() {
    const std::optional<QString> name = m_program.dialogs.inputBox(
        QStringLiteral("Enter the name of the person whose life list this is.\n"
                       "It is shown in the titles of the printed life list, the web page and "
                       "the statistics."),
        QStringLiteral("Owner's Name"), m_program.gstrUserName);
    if (!name) {
        return;
    }
    m_program.gstrUserName = name->trimmed();
    saveUserName(*m_program.gobjSettings, m_program.gstrUserName);
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (!m_unloaded && !Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    if (m_endProgram) {
        m_endProgram();
    }
}

bool FrmMain::Form_QueryUnload() {
    // What the user typed is stored before the window goes, as on leaving the record.
    if (!Data1.recordset() || !Data1.recordset()->isOpen()) {
        return true;
    }
    // Search targets are never stored.
    if (searchTargetsEntered()) {
        Data1.cancelUpdate();
        return true;
    }
    if (!leaveActiveControl()) {
        return false;
    }
    if (!Data1.anyChanged()) {
        // A new record with nothing typed is dropped.
        if (Data1.adding()) {
            Data1.cancelUpdate();
        }
        return true;
    }
    return storeRecordShown();
}

void FrmMain::Form_Unload() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    m_clockTimer->stop();
    formPosition(this, true, *m_program.gobjSettings);
    m_program.closeBirdList();
}
