#include "record_form/Commands.h"

#include <QtGlobal>
#include <iterator>

namespace {

using enum FormMode;

constexpr QKeyCombination ctrl(Qt::Key key) {
    return Qt::CTRL | key;
}

constexpr MenuTitle kMenus[] = {
    {Menu::File, "mnuFile", "&File"},       {Menu::Edit, "mnuEdit", "&Edit"},
    {Menu::Browse, "mnuBrowse", "Bro&wse"}, {Menu::Search, "mnuSearch", "Sea&rch"},
    {Menu::Tools, "mnuTools", "&Tools"},    {Menu::Help, "mnuHelp", "&Help"},
};

// Every command of the record form. The menus list their items in this order; the buttons
// stand in the column by place, two buttons of one place in this order (only one of them is
// ever shown).
// clang-format off
constexpr Command kCommands[] = {
    // File
    {.id = Cmd::ImportSightings, .menu = Menu::File, .item = "mnuImportSightings",
     .itemCaption = "Import Sightings", .opens = Menu::ImportFrom,
     .enabled = {FirstRecord, Browse}},
    {.id = Cmd::ImportEBird, .menu = Menu::ImportFrom, .item = "mnuImportEBird",
     .itemCaption = "eBird Data (.csv)...", .enabled = {FirstRecord, Browse},
     .leavesField = true},
    {.id = Cmd::ImportCsv, .menu = Menu::ImportFrom, .item = "mnuImportCsv",
     .itemCaption = "Plovix Spreadsheet (.csv)...", .enabled = {FirstRecord, Browse},
     .leavesField = true},
    {.id = Cmd::SaveCopy, .menu = Menu::File, .item = "mnuSaveCopy",
     .itemCaption = "Save Copy of Life List As...", .opens = Menu::SaveCopyAs,
     .separatorAfter = true, .enabled = {Browse}},
    {.id = Cmd::SaveCopyHtml, .menu = Menu::SaveCopyAs, .item = "mnuSaveCopyHTML",
     .itemCaption = "Web Page (.html)", .enabled = Modes::all(), .leavesField = true},
    {.id = Cmd::SaveCopyCsv, .menu = Menu::SaveCopyAs, .item = "mnuSaveCopyCsv",
     .itemCaption = "Spreadsheet (.csv)", .enabled = Modes::all(), .leavesField = true},
    {.id = Cmd::Statistics, .menu = Menu::File, .item = "mnuStatistics",
     .itemCaption = "View S&tatistics", .key = Qt::Key_F2, .button = "cmdStatistics",
     .buttonCaption = "View S&tatistics", .place = 9,
     .hint = "Displays your Lifetime Statistics form", .enabled = {Browse}, .leavesField = true},
    {.id = Cmd::ViewList, .menu = Menu::File, .item = "mnuViewList",
     .itemCaption = "&View Life List", .key = Qt::Key_F3, .button = "cmdReport",
     .buttonCaption = "&View Life List", .place = 10,
     .hint = "Displays your complete life list (preview of printed version)", .enabled = {Browse},
     .leavesField = true},
    {.id = Cmd::PrintList, .menu = Menu::File, .item = "mnuPrintList",
     .itemCaption = "&Print Life List", .key = Qt::Key_F4, .separatorAfter = true,
     .enabled = {Browse}, .leavesField = true},
    {.id = Cmd::Exit, .menu = Menu::File, .item = "mnuExit", .itemCaption = "E&xit Plovix",
     .key = ctrl(Qt::Key_Q), .enabled = {FirstRecord, Browse}},
    // Edit
    {.id = Cmd::Undo, .menu = Menu::Edit, .item = "mnuUndo", .itemCaption = "Undo",
     .key = ctrl(Qt::Key_Z), .separatorAfter = true, .enabled = Modes::all(), .ownState = true},
    {.id = Cmd::Cut, .menu = Menu::Edit, .item = "mnuCut", .itemCaption = "Cut",
     .key = ctrl(Qt::Key_X), .enabled = Modes::all(), .ownState = true},
    {.id = Cmd::Copy, .menu = Menu::Edit, .item = "mnuCopy", .itemCaption = "Copy",
     .key = ctrl(Qt::Key_C), .enabled = Modes::all(), .ownState = true},
    {.id = Cmd::Paste, .menu = Menu::Edit, .item = "mnuPaste", .itemCaption = "Paste",
     .key = ctrl(Qt::Key_V), .enabled = Modes::all(), .ownState = true},
    {.id = Cmd::DeleteText, .menu = Menu::Edit, .item = "mnuDeleteText", .itemCaption = "Delete",
     .separatorAfter = true, .enabled = Modes::all(), .ownState = true},
    {.id = Cmd::SelectAll, .menu = Menu::Edit, .item = "mnuSelectAll", .itemCaption = "Select All",
     .key = ctrl(Qt::Key_A), .separatorAfter = true, .enabled = Modes::all(), .ownState = true},
    {.id = Cmd::Add, .menu = Menu::Edit, .item = "mnuAdd", .itemCaption = "&Add A Record",
     .key = Qt::Key_F11, .button = "cmdAdd", .buttonCaption = "&Add A Record", .place = 6,
     .hint = "Creates a new sighting record", .enabled = {Browse}, .shown = {Browse, Search},
     .leavesField = true},
    {.id = Cmd::Delete, .menu = Menu::Edit, .item = "mnuDelete",
     .itemCaption = "&Delete This Record", .button = "cmdDelete",
     .buttonCaption = "&Delete This Record", .place = 7,
     .hint = "Deletes the current sighting from your life list", .enabled = {Browse},
     .shown = {Browse, Search}, .leavesField = true},
    {.id = Cmd::Update, .menu = Menu::Edit, .item = "mnuUpdate", .itemCaption = "&Update Life List",
     .key = Qt::Key_F12, .button = "cmdUpdate", .buttonCaption = "&Update Life List", .place = 7,
     .hint = "Adds this sighting record to your life list", .enabled = {FirstRecord, Add},
     .shown = {FirstRecord, Add}, .leavesField = true},
    {.id = Cmd::Cancel, .menu = Menu::Edit, .item = "mnuCancel", .itemCaption = "&Cancel Addition",
     .separatorAfter = true, .button = "cmdCancel", .buttonCaption = "&Cancel Addition", .place = 6,
     .hint = "Cancels this new sighting record and does not add it to your life list",
     .enabled = {Add}, .shown = {FirstRecord, Add}, .leavesField = true},
    {.id = Cmd::AddImage, .menu = Menu::Edit, .item = "mnuAddImage",
     .itemCaption = "Add Image Link...", .key = ctrl(Qt::Key_L), .separatorAfter = true,
     .button = "cmdAddImage", .buttonCaption = "Add Image &Link", .place = 8,
     .hint = "Adds an image link to this sighting record", .enabled = {Browse}, .leavesField = true},
    {.id = Cmd::EditDatabase, .menu = Menu::Edit, .item = "mnuEditDatabase",
     .itemCaption = "&Life List Editor...", .key = ctrl(Qt::Key_E), .enabled = {Browse},
     .leavesField = true},
    // Browse
    {.id = Cmd::First, .menu = Menu::Browse, .item = "mnuFirst", .itemCaption = "First Record",
     .key = Qt::Key_F5, .button = "cmdFirst", .buttonCaption = "First Record", .place = 1,
     .hint = "Displays your first sighting record", .enabled = {Browse},
     .shown = {FirstRecord, Browse, Add}, .leavesField = true},
    {.id = Cmd::Previous, .menu = Menu::Browse, .item = "mnuPrevious",
     .itemCaption = "Previous Record", .key = Qt::Key_F6, .button = "cmdPrevious",
     .buttonCaption = "Previous Record", .place = 2,
     .hint = "Displays your previous sighting record", .enabled = {Browse},
     .shown = {FirstRecord, Browse, Add}, .leavesField = true},
    {.id = Cmd::Next, .menu = Menu::Browse, .item = "mnuNext", .itemCaption = "Next Record",
     .key = Qt::Key_F7, .button = "cmdNext", .buttonCaption = "Next Record", .place = 3,
     .hint = "Displays your next sighting record", .enabled = {Browse},
     .shown = {FirstRecord, Browse, Add}, .leavesField = true},
    {.id = Cmd::Last, .menu = Menu::Browse, .item = "mnuLast", .itemCaption = "Last Record",
     .key = Qt::Key_F8, .button = "cmdLast", .buttonCaption = "Last Record", .place = 4,
     .hint = "Displays your most recent sighting record", .enabled = {Browse},
     .shown = {FirstRecord, Browse, Add}, .leavesField = true},
    // Shows the sighting already on the life list of the species picked from the checklist;
    // enabled in its modes only while there is one.
    {.id = Cmd::GoToRecord, .menu = Menu::Browse, .item = "mnuGoToRecord",
     .itemCaption = "Go To Record", .key = ctrl(Qt::Key_G), .separatorAfter = true,
     .enabled = {Browse}, .leavesField = true, .ownState = true},
    {.id = Cmd::ViewImages, .menu = Menu::Browse, .item = "mnuViewImages",
     .itemCaption = "View &Images", .key = ctrl(Qt::Key_I), .button = "cmdViewImages",
     .buttonCaption = "View &Images", .place = 11,
     .hint = "View images linked with the current sighting record", .leavesField = true,
     .ownState = true},
    // Search
    {.id = Cmd::SearchList, .menu = Menu::Search, .item = "mnuSearchList",
     .itemCaption = "&Search Life List", .key = Qt::Key_F9, .button = "cmdSearch",
     .buttonCaption = "&Search", .place = 5,
     .hint = "Allows you to enter search targets to locate specific sighting records",
     .enabled = {Browse}, .shown = {FirstRecord, Browse, Add}, .leavesField = true},
    {.id = Cmd::FindFirst, .menu = Menu::Search, .item = "mnuFindFirst",
     .itemCaption = "Find First", .key = ctrl(Qt::Key_F5), .button = "cmdFindFirst",
     .buttonCaption = "Find First", .place = 1,
     .hint = "Displays the first sighting record that matches your search targets",
     .enabled = {Search}, .shown = {Search}, .leavesField = true},
    {.id = Cmd::FindPrevious, .menu = Menu::Search, .item = "mnuFindPrevious",
     .itemCaption = "Find Previous", .key = ctrl(Qt::Key_F6), .button = "cmdFindPrevious",
     .buttonCaption = "Find Previous", .place = 2,
     .hint = "Displays the previous sighting record that matches your search targets",
     .enabled = {Search}, .shown = {Search}, .leavesField = true},
    {.id = Cmd::FindNext, .menu = Menu::Search, .item = "mnuFindNext", .itemCaption = "Find Next",
     .key = ctrl(Qt::Key_F7), .button = "cmdFindNext", .buttonCaption = "Find Next", .place = 3,
     .hint = "Displays the next sighting record that matches your search targets",
     .enabled = {Search}, .shown = {Search}, .leavesField = true},
    {.id = Cmd::FindLast, .menu = Menu::Search, .item = "mnuFindLast", .itemCaption = "Find Last",
     .key = ctrl(Qt::Key_F8), .button = "cmdFindLast", .buttonCaption = "Find Last", .place = 4,
     .hint = "Displays the most recent sighting record that matches your search targets",
     .enabled = {Search}, .shown = {Search}, .leavesField = true},
    {.id = Cmd::CancelSearch, .menu = Menu::Search, .item = "mnuCancelSearch",
     .itemCaption = "Cancel Search", .key = ctrl(Qt::Key_F9), .button = "cmdCancelSearch",
     .buttonCaption = "Cancel Search", .place = 5,
     .hint = "Cancels search mode and returns to life list records", .enabled = {Search},
     .shown = {Search}, .leavesField = true},
    // Tools
    {.id = Cmd::CompactDB, .menu = Menu::Tools, .item = "mnuCompactDB",
     .itemCaption = "Compact Database", .enabled = {Browse}, .leavesField = true},
    {.id = Cmd::RepairDB, .menu = Menu::Tools, .item = "mnuRepairDB",
     .itemCaption = "Repair Database", .separatorAfter = true, .enabled = {Browse},
     .leavesField = true},
    {.id = Cmd::OwnerName, .menu = Menu::Tools, .item = "mnuOwnerName",
     .itemCaption = "Owner's Name...", .enabled = Modes::all()},
    // Help
    {.id = Cmd::HelpContents, .menu = Menu::Help, .item = "mnuHelpContents",
     .itemCaption = "Plovix Help Topics...", .key = Qt::Key_F1, .enabled = Modes::all()},
    {.id = Cmd::HelpOverview, .menu = Menu::Help, .item = "mnuHelpOverview",
     .itemCaption = "Plovix Overview", .separatorAfter = true, .enabled = Modes::all()},
    {.id = Cmd::HelpLicense, .menu = Menu::Help, .item = "mnuHelpLicense",
     .itemCaption = "License Agreement", .separatorAfter = true, .enabled = Modes::all()},
    {.id = Cmd::HelpWebSite, .menu = Menu::Help, .item = "mnuHelpWebSite",
     .itemCaption = "Tenvane Web Site...", .separatorAfter = true, .enabled = Modes::all()},
    {.id = Cmd::HelpAbout, .menu = Menu::Help, .item = "mnuHelpAbout",
     .itemCaption = "About Plovix...", .enabled = Modes::all()},
};
// clang-format on

constexpr bool inOrderOfCmd() {
    for (std::size_t i = 0; i < std::size(kCommands); ++i) {
        if (kCommands[i].id != Cmd(i)) {
            return false;
        }
    }
    return true;
}
static_assert(inOrderOfCmd(), "the command table must list the commands in the order of Cmd");
static_assert(std::size(kCommands) == std::size_t(Cmd::HelpAbout) + 1, "a command is missing");

}  // namespace

std::span<const MenuTitle> menuTable() {
    return kMenus;
}

std::span<const Command> commandTable() {
    return kCommands;
}

const Command& command(Cmd id) {
    return kCommands[std::size_t(id)];
}

Cmd commandNamed(const QString& name) {
    for (const Command& row : kCommands) {
        if (name == QLatin1String(row.item) || (row.button && name == QLatin1String(row.button))) {
            return row.id;
        }
    }
    qFatal("The record form has no command named %s", qPrintable(name));
}
