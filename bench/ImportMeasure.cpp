#include "ImportMeasure.h"

#include "EBirdDownload.h"
#include "TestPlatform.h"
#include "services/MDatabase.h"
#include "database/NewLifeList.h"
#include "record_form/Commands.h"
#include "record_form/FrmMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

// One import into a new life list, in ms; -1 on a failure.
double importOnce(const QString& dataDir, const QString& download, int& species, QString& failure) {
    QTemporaryDir folder;
    TestPlatform platform(folder.path());
    if (createNewLifeList(platform.listPath()) || !QDir(folder.path()).mkpath(u"data"_s) ||
        !QFile::copy(dataDir + u"/species.csv"_s, platform.file(u"data/species.csv"_s))) {
        failure = u"no new life list in "_s + folder.path();
        return -1;
    }
    Program& program = *platform.program;
    if (!openBirdListDatabase(program)) {
        failure = u"the new life list did not open"_s;
        return -1;
    }
    double ms = -1;
    {
        FrmMain form(program, [] {});
        form.Form_Load();
        form.show();
        QCoreApplication::processEvents();  // the checklist, read once the form is up
        platform.dialogs.type(download);
        platform.dialogs.answer(mb::Yes);
        auto* item = form.findChild<QAction*>(QLatin1String(command(Cmd::ImportEBird).item));
        QElapsedTimer clock;
        clock.start();
        item->trigger();
        ms = double(clock.nsecsElapsed()) / 1e6;
        const QStringList messages = platform.takeMessages();
        species = program.grsBirdList->recordCount();
        if (messages.size() != 2 ||
            !messages[1].contains(QStringLiteral("|%1 species added").arg(species))) {
            failure = u"the import went otherwise: "_s + messages.join(u" / ");
            ms = -1;
        }
    }
    program.closeBirdList();
    return ms;
}

}  // namespace

double measureEBirdImport(const QString& dataDir, int rows, int runs, int& species,
                          QString& failure) {
    QTemporaryDir folder;
    const QString download = folder.filePath(u"MyEBirdData.csv"_s);
    if (!generated::writeEBirdDownload(download, rows, dataDir)) {
        failure = u"the eBird download could not be written"_s;
        return 0;
    }
    QList<double> times;
    for (int run = 0; run < runs && failure.isEmpty(); ++run) {
        times.append(importOnce(dataDir, download, species, failure));
    }
    std::sort(times.begin(), times.end());
    return times.isEmpty() ? 0 : times[times.size() / 2];
}
