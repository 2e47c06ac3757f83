#pragma once

#include "database/Database.h"
#include "database/Recordset.h"
#include "platform/AppInfo.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/WaitCursor.h"
#include "settings/CRegSettings.h"

#include <QLockFile>
#include <memory>

// The program-wide state: the platform it runs on, the settings store, the open life list with
// its five recordsets, and the few values that several windows share.
class Program {
public:
    Program(AppInfo appInfo, Dialogs& dialogs, Clock& clock, WaitCursor& cursor, Shell& shell)
        : app(std::move(appInfo)), dialogs(dialogs), clock(clock), cursor(cursor), shell(shell) {}

    AppInfo app;
    Dialogs& dialogs;
    Clock& clock;
    WaitCursor& cursor;
    Shell& shell;

    std::unique_ptr<CRegSettings> gobjSettings;
    // Held while this copy of the program works on the life list.
    std::unique_ptr<QLockFile> listLock;
    std::unique_ptr<Database> gdbBirdList;
    std::shared_ptr<Recordset> grsBirdList;
    std::shared_ptr<Recordset> grsOrders;
    std::shared_ptr<Recordset> grsFamilies;
    std::shared_ptr<Recordset> grsCountries;
    std::shared_ptr<Recordset> grsRegions;
    QString gstrUserName;

    // The base name of the life list's file, and its full path.
    static QString birdListName() { return QStringLiteral("Bird List"); }
    QString birdListPath() const { return app.filePath(birdListName() + QStringLiteral(".mdb")); }

    // Closes the life list and every recordset opened on it.
    void closeBirdList() {
        grsBirdList.reset();
        grsOrders.reset();
        grsFamilies.reset();
        grsCountries.reset();
        grsRegions.reset();
        if (gdbBirdList) {
            gdbBirdList->close();
        }
        gdbBirdList.reset();
    }
};
