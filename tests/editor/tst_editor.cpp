// The life-list editor: renaming and removing an entry of each field against a real life list,
// merging, letter case and apostrophes, a failure half way, and the editor window opened from
// the record form.
#include "database/BulkEdit.h"
#include "FormFixture.h"

#include <QDialog>
#include <QListWidget>
#include <QRadioButton>
#include <QTimer>

namespace {

Sighting seen(const QString& name, const QString& order, const QString& family,
              const QString& location, const QString& country) {
    return {{u"CommonName"_s, name},   {u"Order"_s, order},     {u"Family"_s, family},
            {u"Location"_s, location}, {u"Country"_s, country}, {u"Region"_s, u"South America"_s}};
}

// Three sightings: two gulls seen at the lake (written in two ways), one wren elsewhere.
const QList<Sighting> kSightings = {
    seen(u"Andean Gull"_s, u"Charadriiformes"_s, u"Laridae"_s, u"Lake Titicaca"_s, u"Peru"_s),
    seen(u"Andean Lapwing"_s, u"charadriiformes"_s, u"Charadriidae"_s, u"lake titicaca"_s,
         u"peru"_s),
    seen(u"House Wren"_s, u"Passeriformes"_s, u"Troglodytidae"_s, u"Cusco"_s, u"Bolivia"_s),
};

const char* const kTables[] = {"Orders", "Families", "", "Countries", "Regions"};

// The field of the three sightings, "|"-joined, Null shown as "<null>".
QString fieldOfAll(const FormFixture& f, const QString& field) {
    QStringList values;
    for (int number = 1; number <= 3; ++number) {
        const QVariant value = f.stored(number, field);
        values.append(value.isNull() ? u"<null>"_s : value.toString());
    }
    return values.join(u'|');
}

// How many rows of the field's lookup table carry `text` exactly.
int rowsOf(const FormFixture& f, bulk::Field field, const QString& text) {
    const QString table = QLatin1String(kTables[int(field)]);
    return f
        .query(u"SELECT count(*) FROM \"%1\" WHERE \"%2\" = ?"_s.arg(table, bulk::fieldName(field)),
               {text})
        .toInt();
}

int familiesOf(const FormFixture& f, const QString& order) {
    return f.query(u"SELECT count(*) FROM Families WHERE \"Order\" = ?"_s, {order}).toInt();
}

// Runs `drive` on the next modal window, once it is open.
void whenModal(const std::function<void(QDialog*)>& drive) {
    QTimer::singleShot(10, [drive] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            drive(modal);
        } else {
            whenModal(drive);
        }
    });
}

}  // namespace

Q_DECLARE_METATYPE(bulk::Field)

class TestEditor : public QObject {
    Q_OBJECT

private slots:
    void renameAndRemoveEachField_data();
    void renameAndRemoveEachField();
    void aFailureHalfWayChangesNothing();
    void editorWindowFromTheRecordForm();
};

void TestEditor::renameAndRemoveEachField_data() {
    QTest::addColumn<bulk::Field>("field");
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newText");  // empty: the entry is removed
    QTest::addColumn<QString>("sightings");
    QTest::addColumn<int>("newRows");  // rows of the lookup table that carry the new text

    using enum bulk::Field;
    QTest::newRow("order renamed") << Order << u"Charadriiformes"_s << u"Shorebirds"_s
                                   << u"Shorebirds|Shorebirds|Passeriformes"_s << 1;
    QTest::newRow("order removed")
        << Order << u"Charadriiformes"_s << QString() << u"||Passeriformes"_s << 0;
    QTest::newRow("order merged into another")
        << Order << u"Charadriiformes"_s << u"passeriformes"_s
        << u"passeriformes|passeriformes|passeriformes"_s << 1;
    QTest::newRow("family renamed") << Family << u"Laridae"_s << u"Gulls and Terns"_s
                                    << u"Gulls and Terns|Charadriidae|Troglodytidae"_s << 1;
    QTest::newRow("family merged into another")
        << Family << u"Laridae"_s << u"charadriidae"_s
        << u"charadriidae|charadriidae|Troglodytidae"_s << 1;
    QTest::newRow("family removed")
        << Family << u"Laridae"_s << QString() << u"|Charadriidae|Troglodytidae"_s << 0;
    QTest::newRow("location renamed, any case")
        << Location << u"Lake Titicaca"_s << u"Titicaca"_s << u"Titicaca|Titicaca|Cusco"_s << -1;
    QTest::newRow("location merged into another")
        << Location << u"Cusco"_s << u"LAKE Titicaca"_s
        << u"LAKE Titicaca|LAKE Titicaca|LAKE Titicaca"_s << -1;
    QTest::newRow("location removed")
        << Location << u"lake titicaca"_s << QString() << u"||Cusco"_s << -1;
    QTest::newRow("country with an apostrophe") << Country << u"Peru"_s << u"Côte d'Ivoire"_s
                                                << u"Côte d'Ivoire|Côte d'Ivoire|Bolivia"_s << 1;
    QTest::newRow("country merged into another")
        << Country << u"Peru"_s << u"BOLIVIA"_s << u"BOLIVIA|BOLIVIA|BOLIVIA"_s << 1;
    QTest::newRow("country removed") << Country << u"Peru"_s << QString() << u"||Bolivia"_s << 0;
    QTest::newRow("region in other letter case")
        << Region << u"South America"_s << u"south america"_s
        << u"south america|south america|south america"_s << 1;
    QTest::newRow("region removed") << Region << u"South America"_s << QString() << u"||"_s << 0;
}

void TestEditor::renameAndRemoveEachField() {
    QFETCH(bulk::Field, field);
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(QString, sightings);
    QFETCH(int, newRows);
    FormFixture f(kSightings);
    Database& db = *f.program->gdbBirdList;
    const int families = familiesOf(f, u"Charadriiformes"_s);
    const int passerines = familiesOf(f, u"Passeriformes"_s);
    QVERIFY(families > 10 && passerines > 10);

    const DbError error = newText.isEmpty() ? bulk::remove(db, field, oldText)
                                            : bulk::rename(db, field, oldText, newText);
    QVERIFY2(!error, qPrintable(error.description));
    QCOMPARE(fieldOfAll(f, bulk::fieldName(field)), sightings);
    DbError listed;
    const QStringList entries = bulk::entries(db, field, listed);
    QVERIFY(!listed);
    QVERIFY(!entries.contains(oldText, Qt::CaseInsensitive) ||
            newText.compare(oldText, Qt::CaseInsensitive) == 0);
    if (newRows >= 0) {
        QCOMPARE(rowsOf(f, field, newText.isEmpty() ? oldText : newText), newRows);
        QCOMPARE(bool(entries.contains(newText)), newRows > 0);
    }
    if (field == bulk::Field::Order) {
        // The order's families go with it, or go away; those of an order it joins stay once.
        QCOMPARE(familiesOf(f, u"Charadriiformes"_s), 0);
        const bool merged = newText == u"passeriformes"_s;
        QCOMPARE(familiesOf(f, newText),
                 newText.isEmpty() ? 0 : families + (merged ? passerines : 0));
        if (newText.isEmpty()) {
            QCOMPARE(fieldOfAll(f, u"Family"_s), u"||Troglodytidae"_s);
        }
    }
}

void TestEditor::aFailureHalfWayChangesNothing() {
    FormFixture f(kSightings);
    Database& db = *f.program->gdbBirdList;
    // The sightings refuse every change, after the lookup table has been changed.
    QVERIFY(
        !db.execute(u"CREATE TRIGGER refuse BEFORE UPDATE ON \"Bird List\" "
                    "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"_s));
    QVERIFY(bulk::rename(db, bulk::Field::Order, u"Charadriiformes"_s, u"Shorebirds"_s));
    QVERIFY(bulk::remove(db, bulk::Field::Country, u"Peru"_s));
    QCOMPARE(rowsOf(f, bulk::Field::Order, u"Charadriiformes"_s), 1);
    QCOMPARE(rowsOf(f, bulk::Field::Order, u"Shorebirds"_s), 0);
    QVERIFY(familiesOf(f, u"Charadriiformes"_s) > 10);
    QCOMPARE(rowsOf(f, bulk::Field::Country, u"Peru"_s), 1);
    QCOMPARE(fieldOfAll(f, u"Country"_s), u"Peru|peru|Bolivia"_s);
}

void TestEditor::editorWindowFromTheRecordForm() {
    FormFixture f(kSightings);
    f.press({"cmdFirst", "cmdNext"});
    QCOMPARE(f.shownAt(), u"Andean Lapwing|Record 2 "_s);

    // An empty common name keeps the editor shut.
    f.enter(u"txtCommonName"_s, QString());
    f.trigger(u"mnuEditDatabase"_s);
    QCOMPARE_MESSAGES(f, u"Invalid Entry|A Common Name must be entered."_s);
    QVERIFY(!f.form()->findChild<QDialog*>(u"frmEdit"_s));
    f.enter(u"txtCommonName"_s, u"Andean Lapwing"_s);

    QStringList seenInList;
    whenModal([&](QDialog* editor) {
        QCOMPARE(editor->objectName(), u"frmEdit"_s);
        // Whatever fails on the way, the editor closes.
        const auto done =
            qScopeGuard([editor] { editor->findChild<QAbstractButton*>(u"cmdDone"_s)->click(); });
        auto* list = editor->findChild<QListWidget*>(u"lstEdit"_s);
        auto click = [&](const QString& name) {
            editor->findChild<QAbstractButton*>(name)->click();
        };
        auto select = [&](const QString& entry) {
            list->setCurrentItem(list->findItems(entry, Qt::MatchExactly).value(0));
        };
        QCOMPARE(list->count(), 0);
        click(u"cmdEdit"_s);  // no field chosen yet
        click(u"optChoice3"_s);
        click(u"cmdDelete"_s);
        select(u"Peru"_s);
        f.dialogs.cancelInput();
        click(u"cmdEdit"_s);
        f.dialogs.type(u"Chile"_s);
        click(u"cmdEdit"_s);
        seenInList.append(list->findItems(u"Chile"_s, Qt::MatchExactly).value(0)->text());
        select(u"Chile"_s);
        f.dialogs.answer(mb::No);
        click(u"cmdDelete"_s);
        click(u"optChoice2"_s);
        for (int i = 0; i < list->count(); ++i) {
            seenInList.append(list->item(i)->text());
        }
    });
    // Opened by its key from a field.
    f.focus(u"txtLocation"_s);
    QTest::keyClick(f.focused(), Qt::Key_E, Qt::ControlModifier);

    const QString replace = u"Enter replacement text for\n\nCOUNTRY - 'Peru'"_s;
    QCOMPARE_MESSAGES(
        f, u"Plovix - Text Replacement|No replacement item selected"_s,
        u"Plovix - Item Deletion|No item selected"_s, u"Plovix - Text Replacement|"_s + replace,
        u"Plovix - Text Replacement|"_s + replace,
        u"Deletion Confirmation|Do you wish to remove ALL instances of\n\nCOUNTRY - 'Chile'\n\n"
        "from your life list?"_s);
    QCOMPARE(seenInList,
             QStringList({u"Chile"_s, u"Cusco"_s, u"Lake Titicaca"_s, u"lake titicaca"_s}));
    QCOMPARE(fieldOfAll(f, u"Country"_s), u"Chile|Chile|Bolivia"_s);
    // The form is back on its record, read afresh, with the country list refilled.
    QCOMPARE(f.shownAt(), u"Andean Lapwing|Record 2 "_s);
    QCOMPARE(f.text(u"cboCountry"_s), u"Chile"_s);
    auto* countries = f.get<QComboBox>(u"cboCountry"_s);
    QVERIFY(countries->findText(u"Chile"_s) >= 0);
    QCOMPARE(countries->findText(u"Peru"_s), -1);
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
