// The record form's opening, navigation, position and total, modes and the common-name check.
#include "FormFixture.h"

namespace {

const QString kNoName = QStringLiteral("Invalid Entry|A Common Name must be entered.");

}  // namespace

class TestRecordFormBrowse : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheMostRecentSightingAndMovesWithinTheEnds() {
        FormFixture f;
        f.makeList(FormFixture::birdList(4));
        f.open();
        QCOMPARE(f.shownName(), QStringLiteral("Bird 4"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 4 "));
        QCOMPARE(f.text(QStringLiteral("lblTotalSightings")), QStringLiteral("Total Sightings: 4"));

        // "Next" on the last record stays there.
        f.click(QStringLiteral("cmdNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 4"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 4 "));
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 1"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 1 "));
        // "Previous" on the first record stays there.
        f.trigger(QStringLiteral("mnuPrevious"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 1"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 1 "));
        f.trigger(QStringLiteral("mnuNext"));
        f.click(QStringLiteral("cmdNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 3"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 3 "));
        f.click(QStringLiteral("cmdPrevious"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
        f.trigger(QStringLiteral("mnuLast"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 4"));
        QVERIFY(f.takeMessages().isEmpty());
    }

    void typingIsStoredOnLeavingTheRecord() {
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Marsh"));
        f.enter(QStringLiteral("txtComments"), QStringLiteral("Two calling\nat dusk"));
        // The menu key leaves the field being typed in as well.
        f.trigger(QStringLiteral("mnuNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Bird 2"));
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QString());
        QCOMPARE(f.query(QStringLiteral("SELECT Location FROM \"Bird List\" WHERE CommonName = ?"),
                         {QStringLiteral("Bird 1")}),
                 QVariant(QStringLiteral("Marsh")));
        QCOMPARE(f.query(QStringLiteral("SELECT Comments FROM \"Bird List\" WHERE CommonName = ?"),
                         {QStringLiteral("Bird 1")}),
                 QVariant(QStringLiteral("Two calling\nat dusk")));
        // Clearing a field stores it as empty; an unchanged record is not written.
        f.click(QStringLiteral("cmdFirst"));
        f.enter(QStringLiteral("txtLocation"), QString());
        f.click(QStringLiteral("cmdLast"));
        QVERIFY(f.query(QStringLiteral("SELECT Location FROM \"Bird List\" WHERE CommonName = ?"),
                        {QStringLiteral("Bird 1")})
                    .isNull());
        QVERIFY(f.takeMessages().isEmpty());
    }

    void everyCommandThatLeavesTheRecordNeedsACommonName() {
        FormFixture f;
        f.makeList(FormFixture::birdList(3));
        f.open();
        f.click(QStringLiteral("cmdPrevious"));
        for (const char* command : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast", "cmdAdd"}) {
            f.enter(QStringLiteral("txtCommonName"), QString());
            f.click(QLatin1String(command));
            QCOMPARE_MESSAGES(f, kNoName);
            QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
            QCOMPARE(QApplication::focusWidget(), f.get(QStringLiteral("txtCommonName")));
            QVERIFY(f.get<QPushButton>(QStringLiteral("cmdAdd"))->isVisible());
        }
        QVERIFY(!f.close());
        QCOMPARE_MESSAGES(f, kNoName);
        // Nothing was stored: the record still has its name.
        QCOMPARE(f.query(QStringLiteral("SELECT COUNT(*) FROM \"Bird List\" WHERE CommonName = ?"),
                         {QStringLiteral("Bird 2")}),
                 QVariant(1));

        // A name of blanks counts as entered.
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("  "));
        f.click(QStringLiteral("cmdNext"));
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.panel(2), QStringLiteral("Record 3 "));
        QCOMPARE(f.query(QStringLiteral("SELECT COUNT(*) FROM \"Bird List\" WHERE CommonName = ?"),
                         {QStringLiteral("  ")}),
                 QVariant(1));
    }

    void aNewLifeListOpensInFirstRecordMode() {
        FormFixture f;
        f.makeList();
        f.open();
        QCOMPARE(QApplication::focusWidget(), f.get(QStringLiteral("txtCommonName")));
        QCOMPARE(f.get<QLineEdit>(QStringLiteral("txtCommonName"))->selectedText(),
                 QStringLiteral("Enter your first sighting record"));
        auto* update = f.get<QPushButton>(QStringLiteral("cmdUpdate"));
        auto* cancel = f.get<QPushButton>(QStringLiteral("cmdCancel"));
        QVERIFY(update->isVisible() && update->isEnabled());
        QVERIFY(cancel->isVisible() && !cancel->isEnabled());
        QVERIFY(!f.item(QStringLiteral("mnuCancel"))->isEnabled());
        QVERIFY(f.item(QStringLiteral("mnuExit"))->isEnabled());
        QVERIFY(!f.get(QStringLiteral("cmdNext"))->isEnabled());
        QVERIFY(!f.get(QStringLiteral("cmdAdd"))->isVisible());
        QVERIFY(!f.item(QStringLiteral("mnuCompactDB"))->isEnabled());

        // The user writes over the starter record and stores it.
        QTest::keyClicks(f.get(QStringLiteral("txtCommonName")), QStringLiteral("Robin"));
        f.click(QStringLiteral("cmdUpdate"));
        QCOMPARE(f.total(), 1);
        QCOMPARE(f.query(QStringLiteral("SELECT CommonName FROM \"Bird List\"")),
                 QVariant(QStringLiteral("Robin")));
        QVERIFY(f.get(QStringLiteral("cmdAdd"))->isVisible());
        QVERIFY(f.item(QStringLiteral("mnuCompactDB"))->isEnabled());
        // From now on "Cancel Addition" can be used.
        f.click(QStringLiteral("cmdAdd"));
        QVERIFY(cancel->isVisible() && cancel->isEnabled());
        QVERIFY(f.item(QStringLiteral("mnuCancel"))->isEnabled());
        QVERIFY(!f.item(QStringLiteral("mnuExit"))->isEnabled());
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
            order.append(QApplication::focusWidget()->objectName());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"txtCommonName", "txtAlternateName", "cboOrder", "cboFamily",
                                     "txtSpecies", "txtLocation", "cboCountry", "cboRegion",
                                     "cboMonth", "cboYear", "txtComments", "txtAdditional",
                                     "cmdFirst", "cmdPrevious"}));
        QVERIFY(f.takeMessages().isEmpty());
    }

    void aSingleOrdinaryRecordOpensInBrowseMode() {
        FormFixture f;
        f.makeList(FormFixture::birdList(1));
        f.open();
        QCOMPARE(f.shownName(), QStringLiteral("Bird 1"));
        QVERIFY(f.get(QStringLiteral("cmdAdd"))->isVisible());
        QVERIFY(!f.get(QStringLiteral("cmdUpdate"))->isVisible());
        QVERIFY(f.item(QStringLiteral("mnuExit"))->isEnabled());
        QVERIFY(!f.item(QStringLiteral("mnuUpdate"))->isEnabled());
    }

    void quittingStoresTheRecordShownAndEverythingIsThereNextTime() {
        FormFixture f;
        f.makeList(FormFixture::birdList(2));
        f.open();
        f.enter(QStringLiteral("txtAlternateName"), QStringLiteral("Old name"));
        QVERIFY(f.close());
        QVERIFY(f.takeMessages().isEmpty());

        FormFixture again;
        QFile::copy(f.listPath(), again.listPath());
        again.open();
        QCOMPARE(again.shownName(), QStringLiteral("Bird 2"));
        QCOMPARE(again.text(QStringLiteral("txtAlternateName")), QStringLiteral("Old name"));
    }
};

QTEST_MAIN(TestRecordFormBrowse)
#include "tst_record_form_browse.moc"
