#pragma once

#include "database/DbError.h"
#include "record_form/DataControl.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class FormComboBox;
class Program;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The record form: the program's main window. It shows one sighting at a time, bound to the
// life list through its data control, and carries every command of the program on its buttons
// and menus. Its modes (browse, add, first record, search) are the states its controls are in.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Plovix  -  Bird Sightings Life List");

    FrmMain(Program& program, std::function<void()> endProgram, QWidget* parent = nullptr);
    ~FrmMain() override;

    // Binds the form to the life list, restores its position; a failure ends the start-up.
    DbError Form_Load();
    // In first-record mode: the user overwrites the starter record in place.
    void Form_Activate();

    // The menu item with the given name (mnuExit, mnuAdd, ...).
    QAction* menuItem(const QString& name) const { return m_items.value(name); }

    // Refills the order, country and region lists from their tables.
    void LoadLookupLists();

    void mnuExit_Click();
    void mnuOwnerName_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building (FrmMainLayout.cpp, FrmMainMenus.cpp).
    void buildForm();
    void buildStatusBar();
    void buildMenus();
    void connectCommands();
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& key = {});
    QPushButton* addButton(const QString& name, const QString& caption);
    void watchControls();

    // Commands and modes (FrmMainBrowse.cpp).
    void setCommandEnabled(const QString& name, bool enabled);
    void setButtonVisible(const QString& name, bool visible);
    void SetBrowseMode(bool bBrowse);
    void SetSearchMode(bool bSearch);
    bool searchTargetsEntered() const;
    bool UpdateTotalSightings(bool bSaveFirst);
    bool CommonNameEntered();
    void Data1_Reposition();
    void navigate(DbError (*step)(Recordset&));
    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();

    // Editing (FrmMainEditing.cpp).
    bool storeRecordShown();
    void cmdAdd_Click();
    void cmdUpdate_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();

    // Lookup and fixed-list combo boxes (FrmMainLookups.cpp).
    void LoadFamilyList();
    void comboGotFocus(FormComboBox* combo);
    bool lookupLostFocus(FormComboBox* combo);
    bool comboKeyPress(FormComboBox* combo, const QKeyEvent* event) const;
    void cboOrder_Click();
    void fixedListChange(FormComboBox* combo);
    void fixedListDropDown(FormComboBox* combo);

    // Entry validation and the Edit menu (FrmMainValidation.cpp).
    bool CheckTextLength(QWidget* control, int lMaxLength);
    bool textBoxLostFocus(QWidget* control);
    bool leaveActiveControl();
    void returnFocusTo(QWidget* control, bool selectText);
    void mnuEdit_Click();
    void sendKeys(QWidget* control, int key, Qt::KeyboardModifiers modifiers, const QString& text);
    void editCommand(const QString& item);

    // Focus and status-bar hints (FrmMainHints.cpp).
    void focusIn(QWidget* control, Qt::FocusReason reason);
    void focusOut(QWidget* control, Qt::FocusReason reason);
    QWidget* controlOf(QObject* object) const;
    void mouseMoved(QWidget* control);
    void showHint(const QString& text);
    void updateClock();

    // Search mode and the Find commands (search/FrmMainSearch.cpp).
    void cmdSearch_Click();
    void cmdCancelSearch_Click();
    bool BuildSearchCriteria();
    void findMatch(DbError (Recordset::*operation)(const Criteria&));
    void ShowFindResult();
    void cmdFindFirst_Click();
    void cmdFindPrevious_Click();
    void cmdFindNext_Click();
    void cmdFindLast_Click();

    // The life list file (FrmMainDatabase.cpp).
    void ShowDatabaseError(int lErrNumber, const QString& strDescription);
    void showDatabaseError(const DbError& error) {
        ShowDatabaseError(error.number, error.description);
    }
    void reportStoreError(const DbError& error);
    void MaintainDatabase(bool bCompact);
    void mnuCompactDB_Click();
    void mnuRepairDB_Click();

    bool Form_QueryUnload();
    void Form_Unload();

    Program& m_program;
    std::function<void()> m_endProgram;
    QHash<QString, QAction*> m_items;
    QHash<QString, QPushButton*> m_buttons;
    bool m_unloaded = false;
    bool m_activated = false;

    DataControl Data1;
    std::vector<std::unique_ptr<BoundControl>> m_bound;
    QHash<QWidget*, BoundControl*> m_boundOf;
    QPointer<QWidget> m_focused;      // the control whose GotFocus ran last
    QPointer<QWidget> m_returningTo;  // where a check is sending the focus back
    QTimer* m_clockTimer = nullptr;

    bool mblnFirstRecord = false;
    bool mblnCriteriaBuilt = false;
    Criteria mstrCriteria;  // what every Find of a search looks for
    int mintOrderListIndex = -1;
    QVariant mvarBookmark;

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
