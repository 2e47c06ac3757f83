// The record form: its modes and commands, moving through the list, adding, storing, cancelling
// and deleting sightings, failures to store, and compact and repair from the Tools menu.
#include "FormFixture.h"

#include "record_form/Commands.h"

#include <QDir>

namespace {

const QString kNoName = QStringLiteral("Invalid Entry|A Common Name must be entered.");
const QString kDeleteQuestion =
    QStringLiteral("Delete Confirmation|Do you want to delete this record?");

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
    // both on the form and in the command table (which holds the rows of commands that are
    // not available yet as well).
    static void checkMode(FormFixture& f, FormMode mode) {
        QCOMPARE(f.form()->currentMode(), mode);
        for (const auto& [name, states] : kModeTable) {
            const QString control = QLatin1String(name);
            const QChar want = QLatin1Char(states[int(mode)]);
            const Command& row = command(commandNamed(control));
            const bool isButton = control.startsWith(QLatin1String("cmd"));
            const QChar inTable = isButton && !row.shown.has(mode) ? QLatin1Char('-')
                                  : row.enabled.has(mode)          ? QLatin1Char('e')
                                                                   : QLatin1Char('d');
            QVERIFY2(inTable == want, qPrintable(control + QStringLiteral(" in the table")));
            const QChar live = isButton && !f.shown(control) ? QLatin1Char('-')
                               : f.enabled(control)          ? QLatin1Char('e')
                                                             : QLatin1Char('d');
            const QChar expected =
                !row.available && want == QLatin1Char('e') ? QLatin1Char('d') : want;
            QVERIFY2(live == expected, qPrintable(control + QStringLiteral(" on the form")));
        }
        const bool searching = mode == FormMode::Search;
        QCOMPARE(f.shown(QStringLiteral("lblEnterSearch")), searching);
        QCOMPARE(f.shown(QStringLiteral("lblTitle")), !searching);
    }

private slots:
    void everyModeSetsTheCommandsAsItsTableSays() {
        FormFixture f;
        f.makeList();
        f.open();
        // A new life list: the user writes over the starter record and stores it.
        checkMode(f, FormMode::FirstRecord);
        QCOMPARE(f.focused(), f.get(QStringLiteral("txtCommonName")));
        QCOMPARE(f.get<QLineEdit>(QStringLiteral("txtCommonName"))->selectedText(),
                 QStringLiteral("Enter your first sighting record"));
        QTest::keyClicks(f.focused(), QStringLiteral("Robin"));
        f.click(QStringLiteral("cmdUpdate"));
        QCOMPARE(f.stored(1, QStringLiteral("CommonName")), QVariant(QStringLiteral("Robin")));
        checkMode(f, FormMode::Browse);
        f.click(QStringLiteral("cmdAdd"));
        checkMode(f, FormMode::Add);
        f.click(QStringLiteral("cmdCancel"));
        f.click(QStringLiteral("cmdSearch"));
        checkMode(f, FormMode::Search);
        f.click(QStringLiteral("cmdCancelSearch"));
        checkMode(f, FormMode::Browse);
        QVERIFY(f.takeMessages().isEmpty());

        // A single record that is not the starter record opens in browse mode.
        FormFixture one;
        one.makeList(FormFixture::birdList(1));
        one.open();
        QCOMPARE(one.form()->currentMode(), FormMode::Browse);
    }

    void opensOnTheMostRecentSightingAndMovesWithinTheEnds() {
        FormFixture f;
        f.makeList(FormFixture::birdList(4));
        f.open();
        QCOMPARE(f.text(QStringLiteral("lblTotalSightings")), QStringLiteral("Total Sightings: 4"));
        // Each step: the command, the record shown and its position.
        const std::tuple<const char*, const char*, const char*> steps[] = {
            {nullptr, "Bird 4", "Record 4 "},       {"cmdNext", "Bird 4", "Record 4 "},
            {"cmdFirst", "Bird 1", "Record 1 "},    {"mnuPrevious", "Bird 1", "Record 1 "},
            {"mnuNext", "Bird 2", "Record 2 "},     {"cmdNext", "Bird 3", "Record 3 "},
            {"cmdPrevious", "Bird 2", "Record 2 "}, {"mnuLast", "Bird 4", "Record 4 "},
        };
        for (const auto& [command, name, position] : steps) {
            if (command) {
                const QString control = QLatin1String(command);
                control.startsWith(QLatin1String("cmd")) ? f.click(control) : f.trigger(control);
            }
            QCOMPARE(f.shownName(), QLatin1String(name));
            QCOMPARE(f.panel(2), QLatin1String(position));
        }
        QVERIFY(f.takeMessages().isEmpty());
    }

    void typingIsStoredOnLeavingTheRecordAndOnQuitting() {
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Marsh"));
        f.enter(QStringLiteral("txtComments"), QStringLiteral("Two calling\nat dusk"));
        // The menu key leaves the field being typed in as well.
        f.trigger(QStringLiteral("mnuNext"));
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QString());
        QCOMPARE(f.stored(1, QStringLiteral("Location")), QVariant(QStringLiteral("Marsh")));
        QCOMPARE(f.stored(1, QStringLiteral("Comments")),
                 QVariant(QStringLiteral("Two calling\nat dusk")));
        // Clearing a field stores it as empty.
        f.click(QStringLiteral("cmdFirst"));
        f.enter(QStringLiteral("txtLocation"), QString());
        f.click(QStringLiteral("cmdLast"));
        QVERIFY(f.stored(1, QStringLiteral("Location")).isNull());

        f.enter(QStringLiteral("txtAlternateName"), QStringLiteral("Old name"));
        QVERIFY(f.close());
        QVERIFY(f.takeMessages().isEmpty());
        FormFixture again;
        QFile::copy(f.listPath(), again.listPath());
        again.open();
        QCOMPARE(again.shownName(), QStringLiteral("Bird 3"));
        QCOMPARE(again.text(QStringLiteral("txtAlternateName")), QStringLiteral("Old name"));
    }

    void everyCommandThatLeavesTheRecordNeedsACommonName() {
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        f.open();
        f.click(QStringLiteral("cmdPrevious"));
        for (const char* command :
             {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast", "cmdAdd", "cmdSearch"}) {
            f.enter(QStringLiteral("txtCommonName"), QString());
            f.click(QLatin1String(command));
            QCOMPARE_MESSAGES(f, kNoName);
            QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
            QCOMPARE(f.focused(), f.get(QStringLiteral("txtCommonName")));
            QCOMPARE(f.form()->currentMode(), FormMode::Browse);
        }
        QVERIFY(!f.close());
        QCOMPARE_MESSAGES(f, kNoName);
        QCOMPARE(f.stored(2, QStringLiteral("CommonName")), QVariant(QStringLiteral("Bird 2")));

        // A name of blanks counts as entered.
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("  "));
        f.click(QStringLiteral("cmdNext"));
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.stored(2, QStringLiteral("CommonName")), QVariant(QStringLiteral("  ")));
    }

    void tabMovesThroughTheFieldsInReadingOrder() {
        FormFixture f;
        f.makeList({{{QStringLiteral("CommonName"), QStringLiteral("Dipper")},
                     {QStringLiteral("Order"), QStringLiteral("Passeriformes")},
                     {QStringLiteral("Family"), QStringLiteral("Cinclidae")}}});
        f.open();
        f.focus(QStringLiteral("txtCommonName"));
        QStringList order;
        for (int i = 0; i < 14; ++i) {
            order.append(f.focused()->objectName());
            QTest::keyClick(f.focused(), Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"txtCommonName", "txtAlternateName", "cboOrder", "cboFamily",
                                     "txtSpecies", "txtLocation", "cboCountry", "cboRegion",
                                     "cboMonth", "cboYear", "txtComments", "txtAdditional",
                                     "cmdFirst", "cmdPrevious"}));
        QVERIFY(f.takeMessages().isEmpty());
    }

    void addThenUpdateStoresTheNewRecordAsTheLast() {
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        // Typing on the record shown is stored before the empty record comes.
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Pond"));
        f.trigger(QStringLiteral("mnuAdd"));
        QCOMPARE(f.stored(1, QStringLiteral("Location")), QVariant(QStringLiteral("Pond")));
        QCOMPARE(f.shownName(), QString());
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QString());
        QCOMPARE(f.focused(), f.get(QStringLiteral("txtCommonName")));

        // Without a name the record is not stored and the form stays in add mode.
        f.click(QStringLiteral("cmdUpdate"));
        QCOMPARE_MESSAGES(f, kNoName);
        QCOMPARE(f.form()->currentMode(), FormMode::Add);

        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Cetti's Warbler"));
        f.enter(QStringLiteral("txtSpecies"), QStringLiteral("CETTIA cetti"));
        f.trigger(QStringLiteral("mnuUpdate"));
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.total(), 4);
        QCOMPARE(f.text(QStringLiteral("lblTotalSightings")), QStringLiteral("Total Sightings: 4"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 4 "));
        QCOMPARE(f.shownName(), QStringLiteral("Cetti's Warbler"));
        QCOMPARE(f.stored(4, QStringLiteral("Species")), QVariant(QStringLiteral("Cettia cetti")));
        QCOMPARE(f.form()->currentMode(), FormMode::Browse);

        // Leaving the new record does not store it a second time.
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE(f.total(), 4);
    }

    void cancelDropsTheNewRecord() {
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        f.open();
        f.click(QStringLiteral("cmdPrevious"));
        f.click(QStringLiteral("cmdAdd"));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Never seen"));
        f.enter(QStringLiteral("txtComments"), QStringLiteral("dropped"));
        f.click(QStringLiteral("cmdCancel"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 2"));
        QCOMPARE(f.text(QStringLiteral("txtComments")), QString());
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
        QCOMPARE(f.text(QStringLiteral("lblTotalSightings")), QStringLiteral("Total Sightings: 3"));
        // Nothing of the dropped record reaches the file later.
        f.click(QStringLiteral("cmdLast"));
        QCOMPARE(f.total(), 3);
        QVERIFY(f.takeMessages().isEmpty());
    }

    void deleteShowsTheNextRecordOrTheNewLastAndKeepsTheLastOne() {
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        // No is the default answer.
        f.click(QStringLiteral("cmdDelete"));
        QCOMPARE_MESSAGES(f, kDeleteQuestion);
        QCOMPARE(f.total(), 3);

        f.dialogs.answer(mb::Yes);
        f.click(QStringLiteral("cmdDelete"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 2"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 1 "));
        QCOMPARE(f.text(QStringLiteral("lblTotalSightings")), QStringLiteral("Total Sightings: 2"));
        f.click(QStringLiteral("cmdLast"));
        f.dialogs.answer(mb::Yes);
        f.trigger(QStringLiteral("mnuDelete"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 2"));
        QCOMPARE(f.total(), 1);
        f.takeMessages();

        f.dialogs.answer(mb::Yes);
        f.click(QStringLiteral("cmdDelete"));
        QCOMPARE_MESSAGES(f, kDeleteQuestion,
                          QStringLiteral("Cannot Delete Record|Bird List must contain at least "
                                         "one record.\nYou can, however, write over the values "
                                         "on this record."));
        QCOMPARE(f.total(), 1);
        QCOMPARE(f.shownName(), QStringLiteral("Bird 2"));
    }

    void aFailedStoreKeepsTheTypingInItsMode() {
        FormFixture f;
        f.makeList(FormFixture::birdList(2));
        f.open();
        auto readOnly = [&](bool on) {
            QVERIFY(!f.program->gdbBirdList->execute(
                QStringLiteral("PRAGMA query_only = %1").arg(on ? 1 : 0)));
        };
        auto failedOnce = [&] {
            const QStringList messages = f.takeMessages();
            QCOMPARE(messages.size(), 1);
            QVERIFY2(messages[0].startsWith(QStringLiteral("Database Error|Error ")),
                     qPrintable(messages[0]));
        };
        f.click(QStringLiteral("cmdAdd"));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Hoopoe"));
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Vineyard"));
        readOnly(true);
        f.click(QStringLiteral("cmdUpdate"));
        failedOnce();
        QCOMPARE(f.shownName(), QStringLiteral("Hoopoe"));
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QStringLiteral("Vineyard"));
        QCOMPARE(f.form()->currentMode(), FormMode::Add);

        // Once the file can be written again, the same typing is stored.
        readOnly(false);
        f.click(QStringLiteral("cmdUpdate"));
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.total(), 3);
        QCOMPARE(f.panel(2), QStringLiteral("Record 3 "));

        // Changes to a stored record stay on the form when they cannot be stored on leaving it,
        // whether by moving, searching or quitting.
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Olive grove"));
        readOnly(true);
        for (const char* command : {"cmdFirst", "cmdSearch"}) {
            f.click(QLatin1String(command));
            failedOnce();
            QCOMPARE(f.form()->currentMode(), FormMode::Browse);
            QCOMPARE(f.text(QStringLiteral("txtLocation")), QStringLiteral("Olive grove"));
        }
        QVERIFY(!f.close());
        failedOnce();
        readOnly(false);
        QVERIFY(f.close());
        FormFixture again;
        QFile::copy(f.listPath(), again.listPath());
        again.open();
        QCOMPARE(again.text(QStringLiteral("txtLocation")), QStringLiteral("Olive grove"));
    }

    void compactAndRepairComeBackToTheSameRecord() {
        FormFixture f;
        f.makeList(FormFixture::birdList(5));
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        f.click(QStringLiteral("cmdNext"));
        const int orders = f.get<QComboBox>(QStringLiteral("cboOrder"))->count();
        const QString compactQuestion =
            QStringLiteral("Compact Database|Would you like compact life list database now?");

        // No changes nothing.
        f.dialogs.answer(mb::No);
        f.trigger(QStringLiteral("mnuCompactDB"));
        QCOMPARE_MESSAGES(f, compactQuestion);

        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Typed before compacting"));
        f.dialogs.answer(mb::Yes);
        f.trigger(QStringLiteral("mnuCompactDB"));
        QCOMPARE_MESSAGES(f, compactQuestion,
                          QStringLiteral("|Plovix database compacted successfully."));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 2"));
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QStringLiteral("Typed before compacting"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
        QCOMPARE(f.text(QStringLiteral("lblTotalSightings")), QStringLiteral("Total Sightings: 5"));
        QCOMPARE(f.get<QComboBox>(QStringLiteral("cboOrder"))->count(), orders);
        // The form works on the reopened file.
        f.click(QStringLiteral("cmdNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 3"));

        f.dialogs.answer(mb::Yes);
        f.trigger(QStringLiteral("mnuRepairDB"));
        QCOMPARE_MESSAGES(f,
                          QStringLiteral("Repair Database|Would you like to attempt life list "
                                         "database repair now?\n(A backup database file will be "
                                         "added to your Plovix folder.)"),
                          QStringLiteral("|Plovix database repair procedure complete."));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 3"));
        QVERIFY(QFile::exists(f.file(QStringLiteral("Old Bird List Backup(1).mdb"))));

        // A record that is gone: the last one is shown.
        QVERIFY(!f.program->gdbBirdList->execute(
            QStringLiteral("DELETE FROM \"Bird List\" WHERE CommonName = 'Bird 3'")));
        f.dialogs.answer(mb::Yes);
        f.trigger(QStringLiteral("mnuCompactDB"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 5"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 4 "));
    }

    void aFailedCompactLeavesTheFormOnTheFileOnDisk() {
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        f.open();
        f.click(QStringLiteral("cmdPrevious"));
        // The scratch name is taken by a folder, so the compacted copy cannot be made.
        QVERIFY(QDir(f.folder()).mkpath(QStringLiteral("Bird List Temp.mdb/blocked")));
        f.dialogs.answer(mb::Yes);
        f.trigger(QStringLiteral("mnuCompactDB"));
        const QStringList messages = f.takeMessages();
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[1].startsWith(QStringLiteral("Database Compacting Error|")),
                 qPrintable(messages[1]));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 2"));
        f.click(QStringLiteral("cmdNext"));
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Still works"));
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE(f.stored(3, QStringLiteral("Location")), QVariant(QStringLiteral("Still works")));
        QVERIFY(f.takeMessages().isEmpty());
    }
};

QTEST_MAIN(TestRecordForm)
#include "tst_record_form.moc"
