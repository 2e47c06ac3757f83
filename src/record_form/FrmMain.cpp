#include "record_form/FrmMain.h"

#include "app/MWindow.h"
#include "app/Program.h"
#include "app/UserName.h"
#include "database/Schema.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>

FrmMain::FrmMain(Program& program, std::function<void()> endProgram, QWidget* parent)
    : QMainWindow(parent), m_program(program), m_endProgram(std::move(endProgram)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/plovix.png")));

    auto* central = new QWidget(this);
    auto* layout = new QGridLayout(central);
    lblTitle = new QLabel(QStringLiteral("Bird Information"), central);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    lblTitle->setFont(titleFont);
    lblTotalSightings = new QLabel(QStringLiteral("Total Sightings: "), central);
    lblTotalSightings->setObjectName(QStringLiteral("lblTotalSightings"));
    layout->addWidget(lblTitle, 0, 0);
    layout->addWidget(lblTotalSightings, 0, 1, Qt::AlignRight);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
    setCentralWidget(central);
    resize(900, 680);

    buildMenus();
}

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
    if (DbError error = UpdateTotalSightings()) {
        return error;
    }
    formPosition(this, false, *m_program.gobjSettings);
    return {};
}

DbError FrmMain::UpdateTotalSightings() {
    lblTotalSightings->setText(
        QStringLiteral("Total Sightings: %1").arg(m_program.grsBirdList->recordCount()));
    return {};
}

void FrmMain::mnuExit_Click() {
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
    Form_Unload();
    event->accept();
    if (m_endProgram) {
        m_endProgram();
    }
}

void FrmMain::Form_Unload() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    formPosition(this, true, *m_program.gobjSettings);
    m_program.closeBirdList();
}
