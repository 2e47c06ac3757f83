#include "database/OpenBirdList.h"

#include "app/Program.h"
#include "database/Maintenance.h"
#include "database/Schema.h"

namespace {

DbError tryOpen(Program& program) {
    program.closeBirdList();
    DbError error;
    program.gdbBirdList = Database::open(program.birdListPath(), error);
    if (!error) {
        error = lifelist::checkSchema(*program.gdbBirdList);
    }
    Database* db = program.gdbBirdList.get();
    auto openDynaset = [&](std::shared_ptr<Recordset>& target, const RecordSource& source) {
        if (!error) {
            target = db->openRecordset(source, RecordsetType::Dynaset, error);
        }
    };
    openDynaset(program.grsOrders, {QStringLiteral("Orders"), {}, {}});
    openDynaset(program.grsRegions, {QStringLiteral("Regions"), {}, {}});
    openDynaset(program.grsCountries, {QStringLiteral("Countries"), {}, {}});
    openDynaset(program.grsFamilies, {QStringLiteral("Families"), {}, {}});
    openDynaset(program.grsBirdList, {lifelist::kBirdList, {}, QStringLiteral("Number")});
    if (error) {
        program.closeBirdList();
    }
    return error;
}

}  // namespace

bool openBirdListDatabase(Program& program) {
    for (;;) {
        const DbError error = tryOpen(program);
        if (!error) {
            return true;
        }
        if (error.number == DbError::FileNotFound) {
            const QString exe = program.app.exeName;
            program.dialogs.msgBox(
                QStringLiteral(
                    "%1 can not locate the Bird List database.\n"
                    "Please check that the database is named correctly ('Bird List.mdb')\n"
                    "and is located in the same folder as %1 ('%2')")
                    .arg(program.app.title, exe),
                mb::Critical | mb::OKOnly, QStringLiteral("Application Startup Error"));
            return false;
        }
        const int answer = program.dialogs.msgBox(
            QStringLiteral("There was an error in opening the Plovix database:\n%1\n\n"
                           "Would you like to attempt to repair the database?")
                .arg(error.description),
            mb::Question | mb::OKCancel);
        if (answer != mb::OK) {
            return false;
        }
        repairBirdList(program, Program::birdListName());
    }
}
