#pragma once

#include "record_form/FormMode.h"

#include <QKeyCombination>
#include <QString>
#include <span>

// Every command of the record form, in the order of the menus.
// clang-format off
enum class Cmd : unsigned char {
    ImportSightings, ImportEBird, ImportCsv,                                // File
    SaveCopy, SaveCopyHtml, SaveCopyCsv, Statistics, ViewList, PrintList, Exit,
    Undo, Cut, Copy, Paste, DeleteText, SelectAll, Add, Delete, Update,     // Edit
    Cancel, AddImage, EditDatabase,
    First, Previous, Next, Last, GoToRecord, ViewImages,                    // Browse
    SearchList, FindFirst, FindPrevious, FindNext, FindLast, CancelSearch,  // Search
    CompactDB, RepairDB, OwnerName,                                         // Tools
    HelpContents, HelpOverview, HelpLicense, HelpWebSite, HelpAbout,        // Help
};
// clang-format on

// The record form's menus; ImportFrom is the submenu of "Import Sightings", SaveCopyAs that of
// "Save Copy of Life List As...".
enum class Menu : unsigned char {
    None,
    File,
    ImportFrom,
    SaveCopyAs,
    Edit,
    Browse,
    Search,
    Tools,
    Help
};

// A menu of the menu bar: its object name and caption.
struct MenuTitle {
    Menu menu;
    const char* name;
    const char* caption;
};

// One command: its menu item, its button if it has one, and the modes in which it can be given
// and its button is shown.
struct Command {
    Cmd id;
    Menu menu;
    const char* item;  // object name of the menu item
    const char* itemCaption;
    QKeyCombination key = {};  // Qt::Key_unknown: no shortcut key
    Menu opens = Menu::None;   // the item opens this submenu
    bool separatorAfter = false;
    const char* button = nullptr;  // object name of the button, if the command has one
    const char* buttonCaption = nullptr;
    int place = 0;               // the button's place in the column, from 1 at the top
    const char* hint = nullptr;  // status-bar hint for the mouse over the button
    Modes enabled = {};          // modes in which button and item are enabled
    Modes shown = Modes::all();  // modes in which the button is shown
    // The command leaves the field being typed in (with its checks) before it acts, however it
    // is given.
    bool leavesField = false;
    // Enabled by what the form shows (the record's images, the field with the focus), not by
    // the mode; `enabled` gives its state when the form opens.
    bool ownState = false;
};

// The menus of the menu bar, from the left.
std::span<const MenuTitle> menuTable();
// The whole table, in the order of Cmd.
std::span<const Command> commandTable();
const Command& command(Cmd id);
// The command whose menu item or button has the object name `name`. An unknown name is a
// programming error and ends the program.
Cmd commandNamed(const QString& name);
