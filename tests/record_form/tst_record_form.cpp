// The record form: its modes and commands, its size, moving through the list, adding, storing,
// cancelling and deleting sightings, failures to store, and compact and repair from the Tools
// menu.
#include "FormFixture.h"

#include "record_form/Commands.h"

#include <QDir>

namespace {

const QString kNoName = u"Invalid Entry|A Common Name must be entered."_s;
const QString kDeleteQuestion = u"Delete Confirmation|Do you want to delete this record?"_s;

// What each mode leaves of a control, in the modes first record, browse, add and search:
// e enabled, d disabled, - not shown (a button).
const std::pair<const char*, const char*> kModeTable[] = {
    {"cmdFirst", "ded-"},        {"cmdPrevious", "ded-"},     {"cmdNext", "ded-"},
    {"cmdLast", "ded-"},         {"mnuFirst", "dedd"},        {"mnuPrevious", "dedd"},
    {"mnuNext", "dedd"},         {"mnuLast", "dedd"},         {"cmdFindFirst", "---e"},
    {"cmdFindPrevious", "---e"}, {"cmdFindNext", "---e"},     {"cmdFindLast", "---e"},
    {"mnuFindFirst", "ddde"},    {"mnuFindPrevious", "ddde"}, {"mnuFindNext", "ddde"},
    {"mnuFindLast", "ddde"},     {"cmdSearch", "ded-"},       {"mnuSearchList", "dedd"},
    {"cmdCancelSearch", "---e"}, {"mnuCancelSearch", "ddde"}, {"cmdAdd", "-e-d"},
    {"mnuAdd", "dedd"},          {"cmdDelete", "-e-d"},       {"mnuDelete", "dedd"},
    {"cmdUpdate", "e-e-"},       {"mnuUpdate", "eded"},       {"cmdCancel", "d-e-"},
    {"mnuCancel", "dded"},       {"cmdAddImage", "dedd"},     {"mnuAddImage", "dedd"},
    {"cmdStatistics", "dedd"},   {"mnuStatistics", "dedd"},   {"cmdReport", "dedd"},
    {"mnuViewList", "dedd"},     {"mnuPrintList", "dedd"},    {"mnuCompactDB", "dedd"},
    {"mnuRepairDB", "dedd"},     {"mnuExit", "eedd"},         {"mnuEditDatabase", "dedd"},
    {"mnuSaveCopy", "dedd"},     {"cmdViewImages", "dddd"},   {"mnuViewImages", "dddd"},
    {"mnuOwnerName", "eeee"},
};

}  // namespace

class TestRecordForm : public QObject {
    Q_OBJECT

    // The state of every control of the mode table against the table's column for `mode`,
    // both on the form and in the command table.
    static void checkMode(FormFixture& f, FormMode mode) {
        QCOMPARE(f.form()->currentMode(), mode);
        auto state = [](bool hidden, bool enabled) { return hidden ? '-' : enabled ? 'e' : 'd'; };
        for (const auto& [name, states] : kModeTable) {
            const QString control = QLatin1String(name);
            const char want = states[int(mode)];
            const Command& row = command(commandNamed(control));
            const bool isButton = control.startsWith(u"cmd");
            QVERIFY2(state(isButton && !row.shown.has(mode), row.enabled.has(mode)) == want,
                     qPrintable(control + u" in the table"_s));
            QVERIFY2(state(isButton && !f.shown(control), f.enabled(control)) == want,
                     qPrintable(control + u" on the form"_s));
        }
        const bool searching = mode == FormMode::Search;
        QCOMPARE(f.shown("lblEnterSearch"), searching);
        QCOMPARE(f.shown("lblTitle"), !searching);
    }

private slots:
    void everyModeSetsTheCommandsAsItsTableSays() {
        // A new life list: the user writes over the starter record and stores it.
        FormFixture f(QList<Sighting>{});
        checkMode(f, FormMode::FirstRecord);
        QCOMPARE(f.focused(), f.get("txtCommonName"));
        QCOMPARE(f.get<QLineEdit>("txtCommonName")->selectedText(),
                 u"Enter your first sighting record"_s);
        QTest::keyClicks(f.focused(), u"Robin"_s);
        f.click("cmdUpdate");
        QCOMPARE(f.stored(1, "CommonName"), QVariant(u"Robin"_s));
        checkMode(f, FormMode::Browse);
        f.click("cmdAdd");
        checkMode(f, FormMode::Add);
        f.press({"cmdCancel", "cmdSearch"});
        checkMode(f, FormMode::Search);
        f.click("cmdCancelSearch");
        checkMode(f, FormMode::Browse);
        QVERIFY(f.takeMessages().isEmpty());

        // A single record that is not the starter record opens in browse mode.
        FormFixture one(FormFixture::birdList(1));
        QCOMPARE(one.form()->currentMode(), FormMode::Browse);
    }

    void opensOnTheMostRecentSightingAndMovesWithinTheEnds() {
        FormFixture f(FormFixture::birdList(4));
        QCOMPARE(f.text("lblTotalSightings"), u"Total Sightings: 4"_s);
        QCOMPARE(f.shownAt(), u"Bird 4|Record 4 "_s);
        // The window never reaches past the screen's free area, and fits one of 800 x 600 with
        // its frame and a panel.
        QVERIFY(f.form()->screen()->availableGeometry().contains(f.form()->frameGeometry()));
        QVERIFY(f.form()->minimumSizeHint().boundedTo(QSize(784, 530)) ==
                f.form()->minimumSizeHint());
        // Each step: the command and the number of the record it shows. Next on the last
        // record and Previous on the first stay there.
        const std::pair<const char*, int> steps[] = {
            {"cmdNext", 4}, {"cmdFirst", 1},    {"mnuPrevious", 1}, {"mnuNext", 2},
            {"cmdNext", 3}, {"cmdPrevious", 2}, {"mnuLast", 4}};
        for (const auto& [command, number] : steps) {
            f.press({command});
            QCOMPARE(f.shownAt(), u"Bird %1|Record %1 "_s.arg(number));
        }
        QVERIFY(f.takeMessages().isEmpty());
    }

    void typingIsStoredOnLeavingTheRecordAndOnQuitting() {
        FormFixture f(FormFixture::birdList(3));
        f.click("cmdFirst");
        f.enter("txtLocation", "Marsh");
        f.enter("txtComments", "Two calling\nat dusk");
        // The menu key leaves the field being typed in as well.
        f.trigger("mnuNext");
        QCOMPARE(f.text("txtLocation"), QString());
        QCOMPARE(f.stored(1, "Location"), QVariant(u"Marsh"_s));
        QCOMPARE(f.stored(1, "Comments"), QVariant(u"Two calling\nat dusk"_s));
        // Clearing a field stores it as empty.
        f.click("cmdFirst");
        f.enter("txtLocation", QString());
        f.click("cmdLast");
        QVERIFY(f.stored(1, "Location").isNull());

        f.enter("txtAlternateName", "Old name");
        QVERIFY(f.close());
        QVERIFY(f.takeMessages().isEmpty());
        FormFixture again;
        again.openCopyOf(f);
        QCOMPARE(again.shownName(), u"Bird 3"_s);
        QCOMPARE(again.text("txtAlternateName"), u"Old name"_s);
    }

    void everyCommandThatLeavesTheRecordNeedsACommonName() {
        FormFixture f(FormFixture::birdList(3));
        f.click("cmdPrevious");
        // Those that store it before they write a file from the list, too: nothing is asked or
        // written before the name is there.
        for (const char* command :
             {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast", "cmdAdd", "cmdSearch", "mnuExit",
              "cmdReport", "mnuPrintList", "mnuSaveCopyHTML", "mnuSaveCopyCsv", "mnuCompactDB",
              "mnuRepairDB"}) {
            f.enter("txtCommonName", QString());
            const qsizetype asked = f.dialogs.calls().size();
            f.press({command});
            QCOMPARE(f.dialogs.calls().size(), asked + 1);
            QCOMPARE_MESSAGES(f, kNoName);
            QCOMPARE(f.panel(2), u"Record 2 "_s);
            QCOMPARE(f.focused(), f.get("txtCommonName"));
            QCOMPARE(f.form()->currentMode(), FormMode::Browse);
        }
        QVERIFY(f.form()->isVisible());
        QCOMPARE(f.stored(2, "CommonName"), QVariant(u"Bird 2"_s));
        // A name of blanks counts as entered.
        f.enter("txtCommonName", "  ");
        f.click("cmdNext");
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.stored(2, "CommonName"), QVariant(u"  "_s));
    }

    void addThenUpdateOrCancel() {
        FormFixture f(FormFixture::birdList(3));
        f.click("cmdFirst");
        // Typing on the record shown is stored before the empty record comes.
        f.enter("txtLocation", "Pond");
        f.trigger("mnuAdd");
        QCOMPARE(f.stored(1, "Location"), QVariant(u"Pond"_s));
        QCOMPARE(f.shownName() + f.text("txtLocation"), QString());
        QCOMPARE(f.focused(), f.get("txtCommonName"));
        // Without a name the record is not stored and the form stays in add mode.
        f.click("cmdUpdate");
        QCOMPARE_MESSAGES(f, kNoName);
        QCOMPARE(f.form()->currentMode(), FormMode::Add);

        f.enter("txtCommonName", "Cetti's Warbler");
        f.enter("txtSpecies", "CETTIA cetti");
        f.trigger("mnuUpdate");
        QCOMPARE(f.shownAt(), u"Cetti's Warbler|Record 4 "_s);
        QCOMPARE(f.stored(4, "Species"), QVariant(u"Cettia cetti"_s));

        // Back in browse mode (Previous is not shown while adding). Cancelling drops what was
        // typed; nothing of it reaches the file later.
        f.press({"cmdPrevious", "cmdAdd"});
        f.enter("txtCommonName", "Never seen");
        f.enter("txtComments", "dropped");
        f.click("cmdCancel");
        QCOMPARE(f.shownAt(), u"Bird 3|Record 3 "_s);
        QCOMPARE(f.text("txtComments"), QString());
        QCOMPARE(f.text("lblTotalSightings"), u"Total Sightings: 4"_s);
        f.press({"cmdFirst", "cmdLast"});
        QCOMPARE(f.total(), 4);
        QVERIFY(f.takeMessages().isEmpty());
    }

    void deleteShowsTheNextRecordOrTheNewLastAndKeepsTheLastOne() {
        FormFixture f(FormFixture::birdList(3));
        f.click("cmdFirst");
        // No is the default answer.
        f.click("cmdDelete");
        QCOMPARE_MESSAGES(f, kDeleteQuestion);
        f.press({"cmdDelete"}, {mb::Yes});
        QCOMPARE(f.shownAt(), u"Bird 2|Record 1 "_s);
        QCOMPARE(f.text("lblTotalSightings"), u"Total Sightings: 2"_s);
        f.click("cmdLast");
        f.press({"mnuDelete"}, {mb::Yes});
        QCOMPARE(f.shownName(), u"Bird 2"_s);
        QCOMPARE(f.total(), 1);
        f.takeMessages();

        f.press({"cmdDelete"}, {mb::Yes});
        QCOMPARE_MESSAGES(f, kDeleteQuestion,
                          (u"Cannot Delete Record|Bird List must contain at least one record.\n"
                           u"You can, however, write over the values on this record."_s));
        QCOMPARE(f.total(), 1);
        QCOMPARE(f.shownName(), u"Bird 2"_s);
    }

    void aFailedStoreKeepsTheTypingInItsMode() {
        FormFixture f(FormFixture::birdList(2));
        auto readOnly = [&](bool on) {
            QVERIFY(!f.program->gdbBirdList->execute(u"PRAGMA query_only = %1"_s.arg(on)));
        };
        auto failedOnce = [&] {
            const QStringList messages = f.takeMessages();
            QCOMPARE(messages.size(), 1);
            QVERIFY2(messages[0].startsWith(u"Database Error|Error "_s), qPrintable(messages[0]));
        };
        f.click("cmdAdd");
        f.enter("txtCommonName", "Hoopoe");
        f.enter("txtLocation", "Vineyard");
        readOnly(true);
        f.click("cmdUpdate");
        failedOnce();
        QCOMPARE(f.shownName() + f.text("txtLocation"), u"HoopoeVineyard"_s);
        QCOMPARE(f.form()->currentMode(), FormMode::Add);
        // Once the file can be written again, the same typing is stored.
        readOnly(false);
        f.click("cmdUpdate");
        QCOMPARE(f.shownAt(), u"Hoopoe|Record 3 "_s);

        // Changes to a stored record stay on the form when they cannot be stored on leaving it,
        // by moving or searching; each store tries again.
        f.enter("txtLocation", "Olive grove");
        for (const char* command : {"cmdFirst", "cmdSearch"}) {
            readOnly(true);
            f.press({command});
            failedOnce();
            QCOMPARE(f.form()->currentMode(), FormMode::Browse);
            QCOMPARE(f.text("txtLocation"), u"Olive grove"_s);
        }
        // Quitting asks: No stays with the typing, Yes quits without it.
        const QString quit =
            u"Record Not Stored|The changes to the record shown could not be "
            u"stored.\n\nQuit without storing them?"_s;
        for (int answer : {mb::No, mb::Yes}) {
            readOnly(true);
            f.press({"mnuExit"}, {mb::OK, answer});
            const QStringList messages = f.takeMessages();
            QCOMPARE(messages.size(), 2);
            QCOMPARE(messages[1], quit);
            QCOMPARE(f.form()->isVisible(), answer == mb::No);
        }
        FormFixture again;
        again.openCopyOf(f);
        QCOMPARE(again.shownAt(), u"Hoopoe|Record 3 "_s);
        QCOMPARE(again.text("txtLocation"), u"Vineyard"_s);
    }

    void compactAndRepairComeBackToTheSameRecord() {
        FormFixture f(FormFixture::birdList(5));
        f.press({"cmdFirst", "cmdNext"});
        const int orders = f.get<QComboBox>("cboOrder")->count();
        const QString compactQuestion =
            u"Compact Database|Would you like compact life list database now?"_s;
        // No changes nothing.
        f.press({"mnuCompactDB"}, {mb::No});
        QCOMPARE_MESSAGES(f, compactQuestion);

        f.enter("txtLocation", "Typed before compacting");
        f.press({"mnuCompactDB"}, {mb::Yes});
        QCOMPARE_MESSAGES(f, compactQuestion, u"|Plovix database compacted successfully."_s);
        QCOMPARE(f.shownAt(), u"Bird 2|Record 2 "_s);
        QCOMPARE(f.text("txtLocation"), u"Typed before compacting"_s);
        QCOMPARE(f.text("lblTotalSightings"), u"Total Sightings: 5"_s);
        QCOMPARE(f.get<QComboBox>("cboOrder")->count(), orders);
        // The form works on the reopened file (the repair comes back to the record it moves to).
        f.click("cmdNext");
        f.press({"mnuRepairDB"}, {mb::Yes});
        QCOMPARE_MESSAGES(
            f,
            (u"Repair Database|Would you like to attempt life list database repair "
             u"now?\n(A backup database file will be added to your Plovix folder.)"_s),
            u"|Plovix database repair procedure complete."_s);
        QCOMPARE(f.shownName(), u"Bird 3"_s);
        QVERIFY(QFile::exists(f.file(u"Old Bird List Backup(1).mdb"_s)));

        // A record that is gone: the last one is shown.
        QVERIFY(!f.program->gdbBirdList->execute(u"DELETE FROM \"Bird List\" WHERE Number = 3"_s));
        f.press({"mnuCompactDB"}, {mb::Yes});
        QCOMPARE(f.shownAt(), u"Bird 5|Record 4 "_s);

        // A form that lost its file is bound again by a repair.
        QVERIFY(QFile::rename(f.listPath(), f.listPath() + u".away"_s));
        f.press({"mnuCompactDB"}, {mb::Yes});
        QVERIFY(QFile::rename(f.listPath() + u".away"_s, f.listPath()));
        f.takeMessages();
        f.press({"mnuRepairDB"}, {mb::Yes});
        QCOMPARE(f.takeMessages().last(), u"|Plovix database repair procedure complete."_s);
        QCOMPARE(f.shownAt(), u"Bird 5|Record 4 "_s);

        // A failed compaction (a folder takes the scratch name) leaves the form on the file.
        QVERIFY(QDir(f.folder()).mkpath(u"Bird List Temp.mdb/blocked"_s));
        f.press({"mnuCompactDB"}, {mb::Yes});
        const QStringList messages = f.takeMessages();
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[1].startsWith(u"Database Compacting Error|"_s), qPrintable(messages[1]));
        QCOMPARE(f.shownName(), u"Bird 5"_s);
        f.click("cmdPrevious");
        f.enter("txtLocation", "Still works");
        f.click("cmdFirst");
        QCOMPARE(f.stored(4, "Location"), QVariant(u"Still works"_s));
        QVERIFY(f.takeMessages().isEmpty());
    }
};

QTEST_MAIN(TestRecordForm)
#include "tst_record_form.moc"
