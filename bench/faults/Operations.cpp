#include "Operations.h"

#include "FormFixture.h"
#include "database/BulkEdit.h"
#include "statistics_form/FrmStatistics.h"

#include <QFile>

namespace {

// The record the record-changing operations work on: the fourth in the form's order.
void toFourthRecord(FormFixture& f, const TrialFiles&) {
    f.press({"cmdFirst", "cmdNext", "cmdNext", "cmdNext"});
}

void typeComment(FormFixture& f, const TrialFiles& files) {
    toFourthRecord(f, files);
    f.enter(u"txtComments"_s, u"Seen again at dawn, calling from the reeds."_s);
}

// The value of a field that most sightings hold: the largest change the editor can make.
QString mostHeld(FormFixture& f, bulk::Field field) {
    const QString name = bulk::fieldName(field);
    return f
        .query(
            u"SELECT \"%1\" FROM \"Bird List\" WHERE TRIM(COALESCE(\"%1\", '')) <> '' "
            "GROUP BY \"%1\" ORDER BY COUNT(*) DESC, \"%1\" LIMIT 1"_s.arg(name))
        .toString();
}

void edit(FormFixture& f, bulk::Field field, bool rename) {
    const QString value = mostHeld(f, field);
    DbError error =
        rename ? bulk::rename(*f.program->gdbBirdList, field, value, value + u" (renamed)"_s)
               : bulk::remove(*f.program->gdbBirdList, field, value);
    if (error) {
        f.dialogs.msgBox(error.description, mb::Critical | mb::OKOnly, u"Edit Error"_s);
    }
}

// Saves a copy through a save dialog: the file is chosen, a file of that name replaced, and
// the offer to open it declined.
void saveCopy(FormFixture& f, const QString& path, const char* command, bool offersToOpen) {
    f.dialogs.type(path);
    if (QFile::exists(path)) {
        f.dialogs.answer(mb::Yes);
    }
    if (offersToOpen) {
        f.dialogs.answer(mb::No);
    }
    f.trigger(QLatin1String(command));
}

void saveStatistics(FormFixture& f, const TrialFiles& files) {
    f.press({"cmdStatistics"});
    auto* window = f.form()->findChild<FrmStatistics*>();
    if (!window) {
        qFatal("no statistics window");
    }
    const QString path = files.output("Lifetime Statistics.txt");
    f.dialogs.type(path);
    if (QFile::exists(path)) {
        f.dialogs.answer(mb::Yes);
    }
    window->findChild<QPushButton*>(u"cmdSave"_s)->click();
    window->close();
}

Operation editorOperation(const char* name, bulk::Field field, bool rename) {
    return {name,
            nullptr,
            {},
            [field, rename](FormFixture& f, const TrialFiles&) { edit(f, field, rename); },
            {}};
}

QList<Operation> makeOperations() {
    QList<Operation> list{
        // Leaving a changed record stores it.
        {"store",
         nullptr,
         typeComment,
         [](FormFixture& f, const TrialFiles&) { f.press({"cmdNext"}); },
         {}},
        {"add",
         nullptr,
         [](FormFixture& f, const TrialFiles&) {
             f.press({"cmdAdd"});
             f.enter(u"txtCommonName"_s, u"Bearded Reedling"_s);
             f.enter(u"txtSpecies"_s, u"Panurus biarmicus"_s);
             f.enter(u"txtLocation"_s, u"Minsmere"_s);
         },
         [](FormFixture& f, const TrialFiles&) { f.press({"cmdUpdate"}); },
         {}},
        {"delete",
         nullptr,
         toFourthRecord,
         [](FormFixture& f, const TrialFiles&) { f.press({"cmdDelete"}, {mb::Yes}); },
         {}},
        {"compact",
         nullptr,
         {},
         [](FormFixture& f, const TrialFiles&) { f.press({"mnuCompactDB"}, {mb::Yes}); },
         {},
         false},
        {"repair",
         nullptr,
         {},
         [](FormFixture& f, const TrialFiles&) { f.press({"mnuRepairDB"}, {mb::Yes}); },
         {},
         false},
    };
    const std::pair<const char*, bulk::Field> fields[] = {{"order", bulk::Field::Order},
                                                          {"family", bulk::Field::Family},
                                                          {"location", bulk::Field::Location},
                                                          {"country", bulk::Field::Country},
                                                          {"region", bulk::Field::Region}};
    static QList<QByteArray> names;
    for (const auto& [field, id] : fields) {
        for (const char* verb : {"rename", "remove"}) {
            names.append(QByteArray(verb) + '_' + field);
            list.append(editorOperation(names.last().constData(), id, verb[2] == 'n'));
        }
    }
    list.append({
        {"image_links", nullptr,
         [](FormFixture& f, const TrialFiles& files) {
             toFourthRecord(f, files);
             f.dialogs.type(files.picture());
             f.press({"cmdAddImage"});
         },
         // Leaving the sighting stores the viewer's links in it.
         [](FormFixture& f, const TrialFiles&) { f.press({"cmdPrevious"}); },
         [](FormFixture& f, const TrialFiles& files) {
             toFourthRecord(f, files);
             f.dialogs.type(files.picture());
             f.press({"cmdAddImage", "cmdPrevious"});
         }},
        {"ebird_import",
         nullptr,
         {},
         [](FormFixture& f, const TrialFiles& files) {
             f.dialogs.type(files.download());
             f.dialogs.answer(mb::Yes);
             f.trigger(u"mnuImportEBird"_s);
         },
         {}},
        {"web_page",
         "Life List.html",
         {},
         [](FormFixture& f, const TrialFiles& files) {
             saveCopy(f, files.output("Life List.html"), "mnuSaveCopyHTML", true);
         },
         {},
         false},
        {"statistics_file", "Lifetime Statistics.txt", typeComment, saveStatistics, {}},
        {"csv_export",
         "Life List.csv",
         {},
         [](FormFixture& f, const TrialFiles& files) {
             saveCopy(f, files.output("Life List.csv"), "mnuSaveCopyCsv", true);
         },
         {},
         false},
    });
    return list;
}

}  // namespace

const QList<Operation>& operations() {
    static const QList<Operation> list = makeOperations();
    return list;
}

const Operation* operationNamed(const QString& name) {
    for (const Operation& operation : operations()) {
        if (name == QLatin1String(operation.name)) {
            return &operation;
        }
    }
    return nullptr;
}
