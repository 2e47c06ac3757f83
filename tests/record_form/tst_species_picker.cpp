// Picking a species from the world checklist on the record form: the names offered under the
// name boxes as the user types, what a pick fills in, the sighting already on the list and
// going to it, and the form without a checklist.
#include "FormFixture.h"

#include <QAbstractItemView>

namespace {

// The drop-down list of names shown, if any.
QAbstractItemView* shownList() {
    return qobject_cast<QAbstractItemView*>(QApplication::activePopupWidget());
}

// The rows of the list whose names hold `text` (all of them for the empty text).
QModelIndexList rowsWith(const QAbstractItemView* list, const QString& text, Qt::MatchFlags how) {
    const QAbstractItemModel* rows = list->model();
    return rows->match(rows->index(0, 0), Qt::DisplayRole, text, -1, how);
}

// The offscreen platform leaves a list that closed as the active window, where a desktop gives
// the activation back to the form.
void closed(FormFixture& f) {
    QVERIFY(!shownList());
    f.form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.form()));
}

// Moves down the list shown to `name` and picks it with Return, as the keyboard does.
void pickWithKeys(FormFixture& f, const QString& name) {
    QAbstractItemView* list = shownList();
    QVERIFY(list);
    const QModelIndexList found = rowsWith(list, name, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    for (int i = 0; i <= found.first().row(); ++i) {
        QTest::keyClick(list, Qt::Key_Down);
    }
    QTest::keyClick(list, Qt::Key_Return);
    closed(f);
}

}  // namespace

class TestSpeciesPicker : public QObject {
    Q_OBJECT

    // A life list of these sightings, with the shipped checklist in the program folder.
    static void openWith(FormFixture& f, const QList<Sighting>& sightings,
                         const QStringList& changes = {}) {
        f.makeList(sightings);
        DbError error;
        std::unique_ptr<Database> db = Database::open(f.listPath(), error);
        for (const QString& change : changes) {
            QVERIFY(!db->execute(change));
        }
        db.reset();
        QVERIFY(QDir(f.folder()).mkpath(u"data"_s));
        QVERIFY(QFile::copy(QStringLiteral(PLOVIX_SPECIES_CSV), f.file(u"data/species.csv"_s)));
        f.open();
    }

private slots:
    void aNewUserPicksAWrenWithTheKeyboardAndIsToldItIsOnTheList() {
        FormFixture f;
        // The wren is on the list twice, by either name in other letter cases, without taxonomy;
        // the lookup lists lack its order and family.
        openWith(f,
                 {FormFixture::birdList(1).first(),
                  {{"CommonName", "WINTER WREN"}},
                  {{"CommonName", "Wren sp."}, {"Species", "troglodytes HIEMALIS"}}},
                 {u"DELETE FROM Families WHERE \"Order\" = 'Passeriformes'"_s,
                  u"DELETE FROM Orders WHERE \"Order\" = 'Passeriformes'"_s});
        f.click(u"cmdAdd"_s);
        f.enter(u"txtCommonName"_s, u"wren"_s);
        // Every wren of the world, a dozen at a time.
        QAbstractItemView* list = shownList();
        QVERIFY(list);
        QVERIFY(list->model()->rowCount() > 100);
        QCOMPARE(rowsWith(list, u"wren"_s, Qt::MatchContains).size(), list->model()->rowCount());
        QCOMPARE(list->height() / list->sizeHintForRow(0), 12);
        // Return on a list merely shown keeps the typing.
        QTest::keyClick(list, Qt::Key_Return);
        closed(f);
        QCOMPARE(f.shownName() + f.text(u"txtSpecies"_s), u"wren"_s);
        // A second pick replaces the order and family the first one put in.
        for (const QString& wren : {u"Lyall's Wren"_s, u"Winter Wren"_s}) {
            f.enter(u"txtCommonName"_s, u"wren"_s);
            pickWithKeys(f, wren);
        }
        const QStringList filled = {f.shownName(), f.text(u"txtSpecies"_s), f.text(u"cboOrder"_s),
                                    f.text(u"cboFamily"_s)};
        QCOMPARE(filled, QStringList({"Winter Wren", "Troglodytes hiemalis", "Passeriformes",
                                      "Troglodytidae"}));
        QCOMPARE(f.focused(), f.get(u"txtCommonName"_s));
        QCOMPARE(f.panel(1), u"Already on your life list: record 2"_s);
        QVERIFY(!f.enabled(u"mnuGoToRecord"_s));

        // A second entry may still be stored; then the first one is a key away.
        f.click(u"cmdUpdate"_s);
        QTest::keyClick(f.get(u"txtCommonName"_s), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(f.shownAt(), u"WINTER WREN|Record 2 "_s);
        // Picked again there, from the binomial box: the order and family are added only once,
        // and the first entry other than the one shown is flagged.
        f.enter(u"txtSpecies"_s, u"trog hiem"_s);
        pickWithKeys(f, u"Troglodytes hiemalis"_s);
        QCOMPARE(f.text(u"cboFamily"_s), u"Troglodytidae"_s);
        QCOMPARE(f.query(u"SELECT COUNT(*) || '|' || (SELECT COUNT(*) FROM Families WHERE "
                         u"Family = 'Troglodytidae' AND \"Order\" = 'Passeriformes') FROM "
                         u"Orders WHERE \"Order\" = 'Passeriformes'"_s),
                 u"1|1"_s);
        QCOMPARE(f.panel(1), u"Already on your life list: record 3"_s);
        QVERIFY(f.enabled(u"mnuGoToRecord"_s));
    }

    void freeTypingIsCheckedAsBeforeAndSearchTargetsOrAMissingChecklistGetNoList() {
        FormFixture f;
        openWith(f, FormFixture::birdList(2));
        f.enter(u"txtSpecies"_s, u"troglodytes HIEM"_s);
        // Tab leaves the box with what was typed, capitalised as every binomial is.
        QTest::keyClick(shownList(), Qt::Key_Tab);
        closed(f);
        QCOMPARE(f.text(u"txtSpecies"_s), u"Troglodytes hiem"_s);
        f.click(u"cmdSearch"_s);
        f.enter(u"txtCommonName"_s, u"wren"_s);
        QVERIFY(!shownList());

        FormFixture without(FormFixture::birdList(2));
        QCOMPARE(without.panel(1),
                 u"Species names are not completed: the world checklist "
                 u"data/species.csv is missing"_s);
        without.enter(u"txtCommonName"_s, u"wren"_s);
        QVERIFY(!shownList());
    }
};

QTEST_MAIN(TestSpeciesPicker)
#include "tst_species_picker.moc"
