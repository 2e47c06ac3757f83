#include "record_form/FrmMain.h"

#include "database/Schema.h"
#include "help/FrmHelp.h"
#include "help/HelpCollection.h"
#include "record_form/ChecklistPicker.h"
#include "record_form/EditMenu.h"
#include "record_form/FieldChecks.h"
#include "record_form/FieldFocus.h"
#include "record_form/FormComboBox.h"
#include "record_form/ImportBar.h"
#include "record_form/LookupBoxes.h"
#include "record_form/StatusHints.h"
#include "services/MDatabase.h"
#include "services/MWindow.h"
#include "services/Program.h"
#include "settings/UserName.h"
#include "statistics_form/FrmStatistics.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

// Room for a window frame and title bar, which are not known before the window is shown.
const QSize kFrameAllowance(16, 40);

}  // namespace

FrmMain::FrmMain(Program& program, std::function<void()> endProgram, QWidget* parent)
    : QMainWindow(parent), m_program(program), m_endProgram(std::move(endProgram)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/plovix.png")));
    buildStatusBar();
    buildForm();
    bindFields();

    QSet<QWidget*> fields;
    for (auto field = m_boundOf.keyBegin(); field != m_boundOf.keyEnd(); ++field) {
        fields.insert(*field);
    }
    m_focus = std::make_unique<FieldFocus>(this, fields);
    m_lookups = std::make_unique<LookupBoxes>(
        m_program,
        LookupBoxes::Boxes{cboOrder, cboFamily, cboCountry, cboRegion, cboMonth, cboYear}, *m_focus,
        *m_hints, [this] { return m_search.targetsEntered(); });
    m_checks = std::make_unique<FieldChecks>(m_program.dialogs, *m_focus, *m_lookups, txtSpecies);
    m_editMenu = std::make_unique<EditMenu>(this, *m_commands, *m_focus, [this](QWidget* control) {
        return Data1.dataChanged(m_boundOf.value(control));
    });
    m_picker = std::make_unique<ChecklistPicker>(
        m_program, ChecklistPicker::Boxes{txtCommonName, txtSpecies, cboOrder, cboFamily},
        *m_lookups, *m_hints, [this] { return shownNumber(); });
    m_picker->onFlagChanged = [this] { UpdateGoToRecord(); };
    connectCommands();
    UpdateGoToRecord();

    // Every control reports focus, keys and mouse movement to the form.
    QList<QWidget*> widgets = m_form->findChildren<QWidget*>();
    widgets.append(m_form);
    for (QWidget* widget : widgets) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    // 1,000 x 700 pixels, but never more than the screen's free area with the window's frame;
    // the placement then centres the size the window has.
    QSize size(1000, 700);
    if (const QScreen* shownOn = screen()) {
        size = size.boundedTo(shownOn->availableGeometry().size() - kFrameAllowance);
    }
    resize(size);
}

FrmMain::~FrmMain() {
    delete m_help;
}

void FrmMain::connectCommands() {
    const std::pair<Cmd, void (FrmMain::*)()> handlers[] = {
        {Cmd::First, &FrmMain::cmdFirst_Click},
        {Cmd::Previous, &FrmMain::cmdPrevious_Click},
        {Cmd::Next, &FrmMain::cmdNext_Click},
        {Cmd::Last, &FrmMain::cmdLast_Click},
        {Cmd::Add, &FrmMain::cmdAdd_Click},
        {Cmd::Update, &FrmMain::cmdUpdate_Click},
        {Cmd::Cancel, &FrmMain::cmdCancel_Click},
        {Cmd::Delete, &FrmMain::cmdDelete_Click},
        {Cmd::Statistics, &FrmMain::cmdStatistics_Click},
        {Cmd::ViewList, &FrmMain::cmdReport_Click},
        {Cmd::PrintList, &FrmMain::mnuPrintList_Click},
        {Cmd::SaveCopyHtml, &FrmMain::mnuSaveCopyHTML_Click},
        {Cmd::SaveCopyCsv, &FrmMain::mnuSaveCopyCsv_Click},
        {Cmd::ImportEBird, &FrmMain::mnuImportEBird_Click},
        {Cmd::ImportCsv, &FrmMain::mnuImportCsv_Click},
        {Cmd::SearchList, &FrmMain::cmdSearch_Click},
        {Cmd::CancelSearch, &FrmMain::cmdCancelSearch_Click},
        {Cmd::CompactDB, &FrmMain::mnuCompactDB_Click},
        {Cmd::RepairDB, &FrmMain::mnuRepairDB_Click},
        {Cmd::Exit, &FrmMain::mnuExit_Click},
        {Cmd::OwnerName, &FrmMain::mnuOwnerName_Click},
        {Cmd::EditDatabase, &FrmMain::mnuEditDatabase_Click},
        {Cmd::AddImage, &FrmMain::cmdAddImage_Click},
        {Cmd::ViewImages, &FrmMain::cmdViewImages_Click},
        {Cmd::GoToRecord, &FrmMain::mnuGoToRecord_Click},
        {Cmd::HelpContents, &FrmMain::mnuHelpContents_Click},
        {Cmd::HelpOverview, &FrmMain::mnuHelpOverview_Click},
        {Cmd::HelpLicense, &FrmMain::mnuHelpLicense_Click},
        {Cmd::HelpWebSite, &FrmMain::mnuHelpWebSite_Click},
        {Cmd::HelpAbout, &FrmMain::mnuHelpAbout_Click},
    };
    for (const auto& [id, handler] : handlers) {
        m_commands->setHandler(id, [this, handler] { (this->*handler)(); });
    }
    const std::pair<Cmd, SearchSession::Find> finds[] = {
        {Cmd::FindFirst, SearchSession::Find::First},
        {Cmd::FindPrevious, SearchSession::Find::Previous},
        {Cmd::FindNext, SearchSession::Find::Next},
        {Cmd::FindLast, SearchSession::Find::Last},
    };
    for (const auto& [id, which] : finds) {
        m_commands->setHandler(id, [this, which] { findMatch(which); });
    }
    for (Cmd id : {Cmd::Undo, Cmd::Cut, Cmd::Copy, Cmd::Paste, Cmd::DeleteText, Cmd::SelectAll}) {
        m_commands->setHandler(id, [this, id] { m_editMenu->run(id); });
    }
    m_commands->requireHandlers();
    m_commands->setLeaveField([this] { return m_checks->leaveActiveControl(); });
    connect(m_commands->menu(Menu::Edit), &QMenu::aboutToShow, this,
            [this] { m_editMenu->mnuEdit_Click(); });

    connect(cboOrder, &QComboBox::activated, this, [this] { m_lookups->cboOrder_Click(); });
    for (FormComboBox* fixed : {cboMonth, cboYear}) {
        connect(fixed, &QComboBox::editTextChanged, this,
                [this, fixed] { m_lookups->fixedListChange(fixed); });
        connect(fixed, &FormComboBox::dropDown, this,
                [this, fixed] { m_lookups->fixedListDropDown(fixed); });
    }
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
        case QEvent::FocusIn:
            if (m_focus->focusIn(widget, static_cast<QFocusEvent*>(event)->reason())) {
                if (auto* combo = qobject_cast<FormComboBox*>(widget)) {
                    m_lookups->gotFocus(combo);
                }
            }
            break;
        case QEvent::FocusOut:
            if (m_focus->focusOut(widget, static_cast<QFocusEvent*>(event)->reason())) {
                m_checks->lostFocus(widget);
            }
            break;
        case QEvent::MouseButtonPress:
            // The focus moves before the click is delivered; a click that a field's check
            // refused is dropped.
            if (m_focus->returning()) {
                return true;
            }
            break;
        case QEvent::ShortcutOverride:
            // The form's command keys go to their commands, not to the field typed in.
            if (m_commands->ownsKey(static_cast<QKeyEvent*>(event))) {
                event->ignore();
                return true;
            }
            break;
        case QEvent::KeyPress:
            if (auto* combo = qobject_cast<FormComboBox*>(watched);
                combo && m_lookups->discardsKey(combo, static_cast<QKeyEvent*>(event))) {
                return true;
            }
            break;
        case QEvent::MouseMove:
            // A move that a child did not take is passed on to its parents; only the widget
            // under the pointer counts.
            if (widget &&
                !widget->childAt(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                m_hints->mouseMoved(widget);
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

DbError FrmMain::Form_Load() {
    Recordset& records = *m_program.grsBirdList;
    if (records.recordCount() >= 2) {
        // The form opens on the most recent sighting.
        if (DbError error = records.moveLast()) {
            return error;
        }
    } else if (records.value(field::CommonName).toString() == lifelist::kStarterName) {
        mblnFirstRecord = true;
    }
    Data1.setRecordset(m_program.grsBirdList);
    UpdateTotalSightings(false);
    formPosition(this, false, *m_program.gobjSettings);
    m_lookups->LoadLookupLists();
    m_helpFile = m_program.app.filePath(HelpCollection::fileName());
    // The world checklist is read once the form is on the screen: a start-up without it shows
    // the form sooner, and the names are ready before the user types.
    QTimer::singleShot(0, this, [this] { m_picker->load(); });
    return {};
}

void FrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The form becomes the active window when it is first shown; message boxes closing over it
    // do not count.
    if (!m_activated) {
        m_activated = true;
        activateWindow();
        // The first field of the reading order, whatever control was made first.
        txtCommonName->setFocus(Qt::ActiveWindowFocusReason);
        Form_Activate();
    }
}

void FrmMain::Form_Activate() {
    if (!mblnFirstRecord) {
        return;
    }
    txtCommonName->setFocus(Qt::OtherFocusReason);
    txtCommonName->selectAll();
    setMode(FormMode::FirstRecord);
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
    // An import stops through its Cancel button, not by closing the window under it.
    if (m_importBar && m_importBar->working()) {
        event->ignore();
        return;
    }
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
    if (m_search.targetsEntered()) {
        m_search.dropTargets();
        return true;
    }
    if (!m_checks->leaveActiveControl()) {
        return false;
    }
    if (!Data1.anyChanged()) {
        // A new record with nothing typed is dropped.
        if (Data1.adding()) {
            Data1.cancelUpdate();
        }
        return true;
    }
    const DbError error = storeRecordShown();
    if (!error) {
        return true;
    }
    if (error.number == DbError::Cancelled) {
        return false;  // the user completes or shortens the entry
    }
    // A record that cannot be stored never keeps the user from leaving.
    const int answer = m_program.dialogs.msgBox(
        QStringLiteral("The changes to the record shown could not be stored.\n\n"
                       "Quit without storing them?"),
        mb::Question | mb::YesNo | mb::DefaultButton2, QStringLiteral("Record Not Stored"));
    if (answer != mb::Yes) {
        return false;
    }
    if (Data1.adding()) {
        Data1.cancelUpdate();
    }
    return true;
}

void FrmMain::Form_Unload() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    m_clockTimer->stop();
    // The viewer's links are stored while the life list is still open.
    Data1_Validate();
    if (m_statistics) {
        m_statistics->close();
    }
    if (m_help) {
        m_help->close();
    }
    formPosition(this, true, *m_program.gobjSettings);
    m_program.closeBirdList();
}
