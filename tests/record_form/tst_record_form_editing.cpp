// Adding, storing, cancelling and deleting sightings; failures to store; compact and repair
// from the Tools menu.
#include "FormFixture.h"

#include <QDir>

namespace {

const QString kDeleteQuestion =
    QStringLiteral("Delete Confirmation|Do you want to delete this record?");

}  // namespace

class TestRecordFormEditing : public QObject {
    Q_OBJECT

private slots:
    void addThenUpdateStoresTheNewRecordAsTheLast() {
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        // Typing on the record shown is stored before the empty record comes.
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Pond"));
        f.trigger(QStringLiteral("mnuAdd"));
        QCOMPARE(f.query(QStringLiteral("SELECT Location FROM \"Bird List\" WHERE Number = 1")),
                 QVariant(QStringLiteral("Pond")));
        QCOMPARE(f.shownName(), QString());
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QString());
        QCOMPARE(QApplication::focusWidget(), f.get(QStringLiteral("txtCommonName")));
        QVERIFY(!f.item(QStringLiteral("mnuExit"))->isEnabled());
        QVERIFY(!f.get(QStringLiteral("cmdFirst"))->isEnabled());

        // Without a name the record is not stored and the form stays in add mode.
        f.click(QStringLiteral("cmdUpdate"));
        QCOMPARE_MESSAGES(f, QStringLiteral("Invalid Entry|A Common Name must be entered."));
        QVERIFY(f.get(QStringLiteral("cmdUpdate"))->isVisible());

        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Cetti's Warbler"));
        f.enter(QStringLiteral("txtSpecies"), QStringLiteral("CETTIA cetti"));
        f.trigger(QStringLiteral("mnuUpdate"));
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.total(), 4);
        QCOMPARE(f.text(QStringLiteral("lblTotalSightings")), QStringLiteral("Total Sightings: 4"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 4 "));
        QCOMPARE(f.shownName(), QStringLiteral("Cetti's Warbler"));
        QCOMPARE(f.query(QStringLiteral("SELECT Species FROM \"Bird List\" WHERE Number = "
                                        "(SELECT MAX(Number) FROM \"Bird List\")")),
                 QVariant(QStringLiteral("Cettia cetti")));
        QCOMPARE(f.query(QStringLiteral("SELECT COUNT(*) FROM \"Bird List\" WHERE Number = 4")),
                 QVariant(1));
        QVERIFY(f.get(QStringLiteral("cmdAdd"))->isVisible());
        QVERIFY(f.item(QStringLiteral("mnuExit"))->isEnabled());

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
        QCOMPARE(f.total(), 3);
        QCOMPARE(f.text(QStringLiteral("lblTotalSightings")), QStringLiteral("Total Sightings: 3"));
        QVERIFY(f.get(QStringLiteral("cmdAdd"))->isVisible());
        // Nothing of the dropped record reaches the file later.
        f.click(QStringLiteral("cmdLast"));
        QCOMPARE(f.total(), 3);
        QVERIFY(f.takeMessages().isEmpty());
    }

    void deleteShowsTheNextRecordOrTheNewLast() {
        FormFixture f;
        f.makeList(FormFixture::birdList(4));
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        f.click(QStringLiteral("cmdNext"));

        // No is the default answer.
        f.click(QStringLiteral("cmdDelete"));
        QCOMPARE_MESSAGES(f, kDeleteQuestion);
        QCOMPARE(f.dialogs.calls().size(), 0);
        QCOMPARE(f.total(), 4);
        QCOMPARE(f.shownName(), QStringLiteral("Bird 2"));

        f.dialogs.answer(mb::Yes);
        f.click(QStringLiteral("cmdDelete"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 3"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
        QCOMPARE(f.total(), 3);
        QCOMPARE(f.text(QStringLiteral("lblTotalSightings")), QStringLiteral("Total Sightings: 3"));

        f.click(QStringLiteral("cmdLast"));
        f.dialogs.answer(mb::Yes);
        f.trigger(QStringLiteral("mnuDelete"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 3"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
        QCOMPARE(f.total(), 2);
        QCOMPARE(f.query(QStringLiteral("SELECT COUNT(*) FROM \"Bird List\" WHERE CommonName IN "
                                        "('Bird 2', 'Bird 4')")),
                 QVariant(0));
    }

    void theLastRecordIsNeverDeleted() {
        FormFixture f;
        f.makeList(FormFixture::birdList(1));
        f.open();
        f.dialogs.answer(mb::Yes);
        f.click(QStringLiteral("cmdDelete"));
        QCOMPARE_MESSAGES(f, kDeleteQuestion,
                          QStringLiteral("Cannot Delete Record|Bird List must contain at least "
                                         "one record.\nYou can, however, write over the values "
                                         "on this record."));
        QCOMPARE(f.total(), 1);
        QCOMPARE(f.shownName(), QStringLiteral("Bird 1"));
    }

    void aFailedStoreKeepsTheTypingInItsMode() {
        FormFixture f;
        f.makeList(FormFixture::birdList(2));
        f.open();
        f.click(QStringLiteral("cmdAdd"));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Hoopoe"));
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Vineyard"));
        QVERIFY(!f.program->gdbBirdList->execute(QStringLiteral("PRAGMA query_only = 1")));

        f.click(QStringLiteral("cmdUpdate"));
        QStringList messages = f.takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(QStringLiteral("Database Error|Error ")),
                 qPrintable(messages[0]));
        QCOMPARE(f.shownName(), QStringLiteral("Hoopoe"));
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QStringLiteral("Vineyard"));
        QVERIFY(f.get(QStringLiteral("cmdUpdate"))->isVisible());
        QCOMPARE(f.total(), 2);

        // Once the file can be written again, the same typing is stored.
        QVERIFY(!f.program->gdbBirdList->execute(QStringLiteral("PRAGMA query_only = 0")));
        f.click(QStringLiteral("cmdUpdate"));
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.total(), 3);
        QCOMPARE(f.shownName(), QStringLiteral("Hoopoe"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 3 "));

        // Changes to a stored record stay on the form when they cannot be stored on leaving it.
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Olive grove"));
        QVERIFY(!f.program->gdbBirdList->execute(QStringLiteral("PRAGMA query_only = 1")));
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE(f.takeMessages().size(), 1);
        QCOMPARE(f.shownName(), QStringLiteral("Hoopoe"));
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QStringLiteral("Olive grove"));
        QVERIFY(!f.close());
        QCOMPARE(f.takeMessages().size(), 1);
        QVERIFY(!f.program->gdbBirdList->execute(QStringLiteral("PRAGMA query_only = 0")));
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
        QVERIFY(orders > 0);

        // No changes nothing.
        f.dialogs.answer(mb::No);
        f.trigger(QStringLiteral("mnuCompactDB"));
        QCOMPARE_MESSAGES(f, QStringLiteral("Compact Database|Would you like compact life list "
                                            "database now?"));
        QVERIFY(f.program->gdbBirdList);

        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Typed before compacting"));
        f.dialogs.answer(mb::Yes);
        f.trigger(QStringLiteral("mnuCompactDB"));
        QCOMPARE_MESSAGES(f,
                          QStringLiteral("Compact Database|Would you like compact life list "
                                         "database now?"),
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
        QVERIFY(QFile::exists(f.folder() + QStringLiteral("/Old Bird List Backup(1).mdb")));

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
        QCOMPARE(f.shownName(), QStringLiteral("Bird 3"));
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Still works"));
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE(f.query(QStringLiteral("SELECT Location FROM \"Bird List\" WHERE Number = 3")),
                 QVariant(QStringLiteral("Still works")));
        QVERIFY(f.takeMessages().isEmpty());
    }
};

QTEST_MAIN(TestRecordFormEditing)
#include "tst_record_form_editing.moc"
