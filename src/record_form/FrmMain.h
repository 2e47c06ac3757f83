#pragma once

#include "database/DbError.h"

#include <QHash>
#include <QMainWindow>
#include <functional>

class Program;
class QAction;
class QLabel;
class QMenu;

// The record form: the program's main window, with every command of the program on its menus.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Plovix  -  Bird Sightings Life List");

    FrmMain(Program& program, std::function<void()> endProgram, QWidget* parent = nullptr);

    // Binds the form to the life list, restores its position; a failure ends the start-up.
    DbError Form_Load();

    // The menu item with the given name (mnuExit, mnuAdd, ...).
    QAction* menuItem(const QString& name) const { return m_items.value(name); }

    void mnuExit_Click();
    void mnuOwnerName_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& key = {});
    void Form_Unload();
    DbError UpdateTotalSightings();

    Program& m_program;
    std::function<void()> m_endProgram;
    QHash<QString, QAction*> m_items;
    bool m_unloaded = false;

    bool mblnFirstRecord = false;
    bool mblnCriteriaBuilt = false;

    QLabel* lblTitle = nullptr;
    QLabel* lblTotalSightings = nullptr;
};
