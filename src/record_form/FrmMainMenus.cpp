// The record form's menu bar: every item with its name, caption and shortcut key.
#include "record_form/FrmMain.h"

#include "record_form/FormComboBox.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>

QAction* FrmMain::addItem(QMenu* menu, const QString& name, const QString& caption,
                          const QKeySequence& key) {
    auto* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    // The modes switch the record commands on; the others are switched on below.
    action->setEnabled(false);
    m_items.insert(name, action);
    return action;
}

void FrmMain::buildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QMenu* saveCopy = file->addMenu(QStringLiteral("Save Copy of Life List As..."));
    saveCopy->setObjectName(QStringLiteral("mnuSaveCopyMenu"));
    saveCopy->menuAction()->setObjectName(QStringLiteral("mnuSaveCopy"));
    saveCopy->menuAction()->setEnabled(false);
    m_items.insert(QStringLiteral("mnuSaveCopy"), saveCopy->menuAction());
    addItem(saveCopy, QStringLiteral("mnuSaveCopyHTML"), QStringLiteral("Web Page (.html)"));
    file->addSeparator();
    addItem(file, QStringLiteral("mnuStatistics"), QStringLiteral("View S&tatistics"), Qt::Key_F2);
    addItem(file, QStringLiteral("mnuViewList"), QStringLiteral("&View Life List"), Qt::Key_F3);
    addItem(file, QStringLiteral("mnuPrintList"), QStringLiteral("&Print Life List"), Qt::Key_F4);
    file->addSeparator();
    QAction* exit = addItem(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit Plovix"),
                            QKeySequence(Qt::CTRL | Qt::Key_Q));
    exit->setEnabled(true);
    connect(exit, &QAction::triggered, this, &FrmMain::mnuExit_Click);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    addItem(edit, QStringLiteral("mnuUndo"), QStringLiteral("Undo"),
            QKeySequence(Qt::CTRL | Qt::Key_Z));
    edit->addSeparator();
    addItem(edit, QStringLiteral("mnuCut"), QStringLiteral("Cut"),
            QKeySequence(Qt::CTRL | Qt::Key_X));
    addItem(edit, QStringLiteral("mnuCopy"), QStringLiteral("Copy"),
            QKeySequence(Qt::CTRL | Qt::Key_C));
    addItem(edit, QStringLiteral("mnuPaste"), QStringLiteral("Paste"),
            QKeySequence(Qt::CTRL | Qt::Key_V));
    addItem(edit, QStringLiteral("mnuDeleteText"), QStringLiteral("Delete"));
    edit->addSeparator();
    addItem(edit, QStringLiteral("mnuSelectAll"), QStringLiteral("Select All"),
            QKeySequence(Qt::CTRL | Qt::Key_A));
    edit->addSeparator();
    addItem(edit, QStringLiteral("mnuAdd"), QStringLiteral("&Add A Record"), Qt::Key_F11);
    addItem(edit, QStringLiteral("mnuDelete"), QStringLiteral("&Delete This Record"));
    addItem(edit, QStringLiteral("mnuUpdate"), QStringLiteral("&Update Life List"), Qt::Key_F12);
    addItem(edit, QStringLiteral("mnuCancel"), QStringLiteral("&Cancel Addition"));
    edit->addSeparator();
    addItem(edit, QStringLiteral("mnuAddImage"), QStringLiteral("Add Image Link..."),
            QKeySequence(Qt::CTRL | Qt::Key_L));
    edit->addSeparator();
    addItem(edit, QStringLiteral("mnuEditDatabase"), QStringLiteral("&Life List Editor..."),
            QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu* browse = bar->addMenu(QStringLiteral("Bro&wse"));
    browse->setObjectName(QStringLiteral("mnuBrowse"));
    addItem(browse, QStringLiteral("mnuFirst"), QStringLiteral("First Record"), Qt::Key_F5);
    addItem(browse, QStringLiteral("mnuPrevious"), QStringLiteral("Previous Record"), Qt::Key_F6);
    addItem(browse, QStringLiteral("mnuNext"), QStringLiteral("Next Record"), Qt::Key_F7);
    addItem(browse, QStringLiteral("mnuLast"), QStringLiteral("Last Record"), Qt::Key_F8);
    browse->addSeparator();
    addItem(browse, QStringLiteral("mnuViewImages"), QStringLiteral("View &Images"),
            QKeySequence(Qt::CTRL | Qt::Key_I));

    QMenu* search = bar->addMenu(QStringLiteral("Sea&rch"));
    search->setObjectName(QStringLiteral("mnuSearch"));
    addItem(search, QStringLiteral("mnuSearchList"), QStringLiteral("&Search Life List"),
            Qt::Key_F9);
    addItem(search, QStringLiteral("mnuFindFirst"), QStringLiteral("Find First"),
            QKeySequence(Qt::CTRL | Qt::Key_F5));
    addItem(search, QStringLiteral("mnuFindPrevious"), QStringLiteral("Find Previous"),
            QKeySequence(Qt::CTRL | Qt::Key_F6));
    addItem(search, QStringLiteral("mnuFindNext"), QStringLiteral("Find Next"),
            QKeySequence(Qt::CTRL | Qt::Key_F7));
    addItem(search, QStringLiteral("mnuFindLast"), QStringLiteral("Find Last"),
            QKeySequence(Qt::CTRL | Qt::Key_F8));
    addItem(search, QStringLiteral("mnuCancelSearch"), QStringLiteral("Cancel Search"),
            QKeySequence(Qt::CTRL | Qt::Key_F9));

    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    addItem(tools, QStringLiteral("mnuCompactDB"), QStringLiteral("Compact Database"));
    addItem(tools, QStringLiteral("mnuRepairDB"), QStringLiteral("Repair Database"));
    tools->addSeparator();
    QAction* owner =
        addItem(tools, QStringLiteral("mnuOwnerName"), QStringLiteral("Owner's Name..."));
    owner->setEnabled(true);
    connect(owner, &QAction::triggered, this, &FrmMain::mnuOwnerName_Click);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addItem(help, QStringLiteral("mnuHelpContents"), QStringLiteral("Plovix Help Topics..."),
            Qt::Key_F1);
    addItem(help, QStringLiteral("mnuHelpOverview"), QStringLiteral("Plovix Overview"));
    help->addSeparator();
    addItem(help, QStringLiteral("mnuHelpLicense"), QStringLiteral("License Agreement"));
    help->addSeparator();
    addItem(help, QStringLiteral("mnuHelpWebSite"), QStringLiteral("Tenvane Web Site..."));
    help->addSeparator();
    addItem(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("About Plovix..."));
}

void FrmMain::connectCommands() {
    const std::pair<const char*, void (FrmMain::*)()> buttons[] = {
        {"cmdFirst", &FrmMain::cmdFirst_Click},
        {"cmdPrevious", &FrmMain::cmdPrevious_Click},
        {"cmdNext", &FrmMain::cmdNext_Click},
        {"cmdLast", &FrmMain::cmdLast_Click},
        {"cmdAdd", &FrmMain::cmdAdd_Click},
        {"cmdUpdate", &FrmMain::cmdUpdate_Click},
        {"cmdCancel", &FrmMain::cmdCancel_Click},
        {"cmdDelete", &FrmMain::cmdDelete_Click},
        {"cmdSearch", &FrmMain::cmdSearch_Click},
        {"cmdCancelSearch", &FrmMain::cmdCancelSearch_Click},
        {"cmdFindFirst", &FrmMain::cmdFindFirst_Click},
        {"cmdFindPrevious", &FrmMain::cmdFindPrevious_Click},
        {"cmdFindNext", &FrmMain::cmdFindNext_Click},
        {"cmdFindLast", &FrmMain::cmdFindLast_Click},
    };
    for (const auto& [name, handler] : buttons) {
        connect(m_buttons.value(QLatin1String(name)), &QPushButton::clicked, this, handler);
    }

    // A menu item that repeats a button clicks it, once the field being typed in is left.
    const std::pair<const char*, const char*> clicks[] = {
        {"mnuFirst", "cmdFirst"},
        {"mnuPrevious", "cmdPrevious"},
        {"mnuNext", "cmdNext"},
        {"mnuLast", "cmdLast"},
        {"mnuAdd", "cmdAdd"},
        {"mnuDelete", "cmdDelete"},
        {"mnuUpdate", "cmdUpdate"},
        {"mnuCancel", "cmdCancel"},
        {"mnuSearchList", "cmdSearch"},
        {"mnuCancelSearch", "cmdCancelSearch"},
        {"mnuFindFirst", "cmdFindFirst"},
        {"mnuFindPrevious", "cmdFindPrevious"},
        {"mnuFindNext", "cmdFindNext"},
        {"mnuFindLast", "cmdFindLast"},
    };
    for (const auto& [item, button] : clicks) {
        QPushButton* target = m_buttons.value(QLatin1String(button));
        connect(m_items.value(QLatin1String(item)), &QAction::triggered, this, [this, target] {
            if (leaveActiveControl()) {
                target->click();
            }
        });
    }

    for (const char* item :
         {"mnuUndo", "mnuCut", "mnuCopy", "mnuPaste", "mnuDeleteText", "mnuSelectAll"}) {
        QAction* action = m_items.value(QLatin1String(item));
        action->setEnabled(true);
        connect(action, &QAction::triggered, this,
                [this, name = QString::fromLatin1(item)] { editCommand(name); });
    }
    connect(menuBar()->findChild<QMenu*>(QStringLiteral("mnuEdit")), &QMenu::aboutToShow, this,
            &FrmMain::mnuEdit_Click);

    const std::pair<const char*, void (FrmMain::*)()> tools[] = {
        {"mnuCompactDB", &FrmMain::mnuCompactDB_Click},
        {"mnuRepairDB", &FrmMain::mnuRepairDB_Click},
    };
    for (const auto& [item, handler] : tools) {
        connect(m_items.value(QLatin1String(item)), &QAction::triggered, this, [this, handler] {
            if (leaveActiveControl()) {
                (this->*handler)();
            }
        });
    }

    connect(cboOrder, &QComboBox::activated, this, &FrmMain::cboOrder_Click);
    for (FormComboBox* fixed : {cboMonth, cboYear}) {
        connect(fixed, &QComboBox::editTextChanged, this,
                [this, fixed] { fixedListChange(fixed); });
        connect(fixed, &FormComboBox::dropDown, this, [this, fixed] { fixedListDropDown(fixed); });
    }

    SetBrowseMode(true);
}
