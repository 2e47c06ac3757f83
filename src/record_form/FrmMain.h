#pragma once

#include "database/DataControl.h"
#include "database/DbError.h"
#include "record_form/CommandBar.h"
#include "search/SearchSession.h"
#include "statistics/StatisticsHost.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class ChecklistPicker;
class EditMenu;
class FieldChecks;
class FieldFocus;
class FormComboBox;
class FrmHelp;
class FrmStatistics;
class FrmViewer;
class ImportBar;
class LookupBoxes;
class Program;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTimer;
class StatusHints;

// The record form: the program's main window. It shows one sighting at a time, bound to the
// life list through its data control, and carries every command of the program on its buttons
// and menus. It is its layout and wiring; the search, the combo boxes, the field checks, the
// Edit menu and the hints are parts of their own.
class FrmMain : public QMainWindow, private StatisticsHost {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Plovix  -  Bird Sightings Life List");

    FrmMain(Program& program, std::function<void()> endProgram, QWidget* parent = nullptr);
    ~FrmMain() override;

    // Binds the form to the life list, restores its position; a failure ends the start-up.
    DbError Form_Load();
    // In first-record mode: the user overwrites the starter record in place.
    void Form_Activate();

    FormMode currentMode() const { return m_commands->mode(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building (FrmMainLayout.cpp).
    template <typename T>
    T* named(T* widget, const QString& name);
    void buildForm();
    QLayout* buildFields();
    QLayout* buildButtons();
    void bindFields();
    void buildStatusBar();
    void updateClock();
    void connectCommands();

    // Modes, navigation and editing (FrmMainRecords.cpp).
    void setMode(FormMode mode);
    void SetBrowseMode(bool browse);
    void SetSearchMode(bool toSearch);
    bool UpdateTotalSightings(bool saveFirst);
    bool CommonNameEntered();
    void Data1_Reposition();
    void navigate(DbError (*step)(Recordset&));
    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();
    // Stores the record shown; a failure has been told. Cancelled when a check refused it.
    DbError storeRecordShown();
    void cmdAdd_Click();
    void cmdUpdate_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();

    // Search mode (FrmMainSearch.cpp).
    void showSearchTitle(bool enteringTargets);
    void cmdSearch_Click();
    void cmdCancelSearch_Click();
    bool BuildSearchCriteria();
    void findMatch(SearchSession::Find which);

    // The life list file (FrmMainDatabase.cpp).
    void ShowDatabaseError(int errorNumber, const QString& errorText);
    void ShowDatabaseError(const DbError& error) {
        ShowDatabaseError(error.number, error.description);
    }
    void MaintainDatabase(bool toCompact);
    void mnuCompactDB_Click();
    void mnuRepairDB_Click();

    // The statistics window and what it reads and shows here (FrmMainStatistics.cpp).
    void cmdStatistics_Click();
    FixedLists fixedLists() const override;
    QString totalCaption() const override;
    void storePendingChange() override;
    void showCounting(bool counting) override;
    void setProgress(int percent) override;

    // The printed life list, its preview and the web page (FrmMainOutput.cpp).
    // `fileName` names the web page's file when `destination` is "File".
    void PrintLifeList(const QString& destination, const QString& fileName = {});
    void cmdReport_Click();
    void mnuPrintList_Click();
    void mnuSaveCopyHTML_Click();

    // Importing sightings and saving the life list as a spreadsheet (FrmMainExchange.cpp).
    void mnuImportEBird_Click();
    void mnuImportCsv_Click();
    void importSightingsFrom(bool eBird);
    void mnuSaveCopyCsv_Click();
    // The form shows the life list as it is now in the file, on its last record.
    void showListAgain();

    // The life-list editor (FrmMainEditor.cpp).
    void mnuEditDatabase_Click();

    // The image links of the sighting shown and their viewer (FrmMainImages.cpp).
    void UpdateImageButtons();
    // The viewer of the sighting shown, loaded when need be; none when its links cannot be read.
    FrmViewer* loadViewer();
    void cmdAddImage_Click();
    void cmdViewImages_Click();
    void Data1_Validate();

    // Going to the sighting already on the list of a species picked from the checklist
    // (FrmMainChecklist.cpp).
    qint64 shownNumber() const;
    void UpdateGoToRecord();
    void mnuGoToRecord_Click();

    // The Help menu (FrmMainHelp.cpp).
    FrmHelp* helpWindow();
    // Opens a web address in the browser; says so when no browser could be started.
    void openWebAddress(const QUrl& url);
    void mnuHelpContents_Click();
    void mnuHelpOverview_Click();
    void mnuHelpLicense_Click();
    void mnuHelpWebSite_Click();
    void mnuHelpAbout_Click();

    void mnuExit_Click();
    void mnuOwnerName_Click();
    bool Form_QueryUnload();
    void Form_Unload();

    Program& m_program;
    std::function<void()> m_endProgram;
    bool m_unloaded = false;
    bool m_activated = false;

    DataControl Data1;
    std::vector<std::unique_ptr<BoundControl>> m_bound;
    QHash<QWidget*, BoundControl*> m_boundOf;
    SearchSession m_search{Data1};
    std::unique_ptr<CommandBar> m_commands;
    std::unique_ptr<StatusHints> m_hints;
    std::unique_ptr<FieldFocus> m_focus;
    std::unique_ptr<LookupBoxes> m_lookups;
    std::unique_ptr<FieldChecks> m_checks;
    std::unique_ptr<EditMenu> m_editMenu;
    std::unique_ptr<ChecklistPicker> m_picker;
    std::unique_ptr<ImportBar> m_importBar;
    QTimer* m_clockTimer = nullptr;
    QPointer<FrmStatistics> m_statistics;
    QPointer<FrmViewer> m_viewer;
    QString m_helpFile;  // the help collection, named when the form loads
    QPointer<FrmHelp> m_help;
    bool m_titleHidden = false;  // while the statistics count: the title was hidden before

    bool mblnFirstRecord = false;

    QWidget* m_form = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblEnterSearch = nullptr;
    QGroupBox* frmName = nullptr;
    QGroupBox* frmTaxonomy = nullptr;
    QGroupBox* frmFirstSighting = nullptr;
    QGroupBox* frmAdditional = nullptr;
    QLineEdit* txtCommonName = nullptr;
    QLineEdit* txtAlternateName = nullptr;
    FormComboBox* cboOrder = nullptr;
    FormComboBox* cboFamily = nullptr;
    QLineEdit* txtSpecies = nullptr;
    QLineEdit* txtLocation = nullptr;
    FormComboBox* cboCountry = nullptr;
    FormComboBox* cboRegion = nullptr;
    FormComboBox* cboMonth = nullptr;
    FormComboBox* cboYear = nullptr;
    QPlainTextEdit* txtComments = nullptr;
    QPlainTextEdit* txtAdditional = nullptr;
    QLabel* lblTotalSightings = nullptr;
    QLabel* lblProcessing = nullptr;
    QProgressBar* pbrProgress = nullptr;
    QLabel* m_panel1 = nullptr;  // hints
    QLabel* m_panel2 = nullptr;  // record position
    QLabel* m_panel3 = nullptr;  // time of day
};
