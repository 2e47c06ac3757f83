// The lookup combo boxes that grow as entries are typed, the family list that follows the
// order, and the fixed month and year lists.
#include "FormFixture.h"

namespace {

QList<Sighting> sightings() {
    return {
        {{QStringLiteral("CommonName"), QStringLiteral("Wren")},
         {QStringLiteral("Order"), QStringLiteral("Passeriformes")},
         {QStringLiteral("Family"), QStringLiteral("Troglodytidae")}},
        {{QStringLiteral("CommonName"), QStringLiteral("Osprey")},
         {QStringLiteral("Order"), QStringLiteral("Accipitriformes")},
         {QStringLiteral("Family"), QStringLiteral("Pandionidae")}},
    };
}

QStringList listOf(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items.append(combo->itemText(i));
    }
    return items;
}

}  // namespace

class TestRecordFormLookups : public QObject {
    Q_OBJECT

    int rows(FormFixture& f, const QString& table, const QString& field, const QString& value) {
        return f
            .query(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?")
                       .arg(quoteIdentifier(table), quoteIdentifier(field)),
                   {value})
            .toInt();
    }

private slots:
    void aNewCountryIsStoredOnceAndTakesItsAlphabeticalPlace() {
        FormFixture f;
        f.makeList(sightings());
        f.open();
        auto* country = f.get<QComboBox>(QStringLiteral("cboCountry"));
        const int before = country->count();
        QVERIFY(before > 200);

        f.enter(QStringLiteral("cboCountry"), QStringLiteral("Côte d'Azur"));
        QCOMPARE(f.panel(1),
                 QStringLiteral("Select Country from drop-down list or type new entry"));
        f.focus(QStringLiteral("cboRegion"));
        QCOMPARE(rows(f, QStringLiteral("Countries"), QStringLiteral("Country"),
                      QStringLiteral("Côte d'Azur")),
                 1);
        QCOMPARE(country->count(), before + 1);
        const QStringList items = listOf(country);
        const qsizetype at = items.indexOf(QStringLiteral("Côte d'Azur"));
        QVERIFY(at > 0);
        QVERIFY(QString::compare(items[at - 1], items[at], Qt::CaseInsensitive) < 0);
        QVERIFY(QString::compare(items[at], items[at + 1], Qt::CaseInsensitive) < 0);
        QCOMPARE(country->currentText(), QStringLiteral("Côte d'Azur"));

        // Leaving again, or typing it in another case, stores nothing more.
        f.focus(QStringLiteral("cboCountry"));
        f.focus(QStringLiteral("cboRegion"));
        f.enter(QStringLiteral("cboCountry"), QStringLiteral("CÔTE D'AZUR"));
        f.focus(QStringLiteral("cboRegion"));
        QCOMPARE(f.query(QStringLiteral("SELECT COUNT(*) FROM Countries WHERE Country LIKE "
                                        "'%azur%'")),
                 QVariant(1));
        QCOMPARE(country->count(), before + 1);
        QVERIFY(f.takeMessages().isEmpty());

        // The entry is kept whether or not the sighting is.
        f.click(QStringLiteral("cmdAdd"));
        f.enter(QStringLiteral("cboRegion"), QStringLiteral("Lesser Antilles"));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Dropped"));
        f.click(QStringLiteral("cmdCancel"));
        QCOMPARE(rows(f, QStringLiteral("Regions"), QStringLiteral("Region"),
                      QStringLiteral("Lesser Antilles")),
                 1);
    }

    void theFamilyListFollowsTheOrder() {
        FormFixture f;
        f.makeList(sightings());
        f.open();
        auto* order = f.get<QComboBox>(QStringLiteral("cboOrder"));
        auto* family = f.get<QComboBox>(QStringLiteral("cboFamily"));
        QCOMPARE(f.shownName(), QStringLiteral("Osprey"));
        QCOMPARE(family->currentText(), QStringLiteral("Pandionidae"));
        const QStringList raptors = listOf(family);
        QVERIFY(raptors.contains(QStringLiteral("Accipitridae")));
        QVERIFY(!raptors.contains(QStringLiteral("Troglodytidae")));

        // The mouse wheel passing over the box changes nothing.
        QWheelEvent wheel(QPointF(5, 5), order->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(order, &wheel);
        QCOMPARE(order->currentText(), QStringLiteral("Accipitriformes"));

        // Tabbing through the order without changing it keeps the family.
        f.focus(QStringLiteral("cboOrder"));
        f.focus(QStringLiteral("cboFamily"));
        QCOMPARE(family->currentText(), QStringLiteral("Pandionidae"));

        // Picking another order reloads the list and empties the family.
        f.focus(QStringLiteral("cboOrder"));
        const int passerines = order->findText(QStringLiteral("Passeriformes"));
        order->setCurrentIndex(passerines);
        emit order->activated(passerines);
        QCOMPARE(family->currentText(), QString());
        QVERIFY(listOf(family).contains(QStringLiteral("Troglodytidae")));
        QVERIFY(!listOf(family).contains(QStringLiteral("Pandionidae")));

        // A new family is stored under the order shown, once.
        f.enter(QStringLiteral("cboFamily"), QStringLiteral("Cettiidae"));
        f.focus(QStringLiteral("txtSpecies"));
        f.enter(QStringLiteral("cboFamily"), QStringLiteral("cettiidae"));
        f.focus(QStringLiteral("txtSpecies"));
        QCOMPARE(f.query(QStringLiteral("SELECT COUNT(*) FROM Families WHERE Family LIKE "
                                        "'cettiidae'")),
                 QVariant(1));
        QCOMPARE(f.query(QStringLiteral("SELECT \"Order\" FROM Families WHERE Family = ?"),
                         {QStringLiteral("Cettiidae")}),
                 QVariant(QStringLiteral("Passeriformes")));

        // The same family under another order is another row; a new order is stored too.
        f.enter(QStringLiteral("cboOrder"), QStringLiteral("Sylviiformes"));
        f.enter(QStringLiteral("cboFamily"), QStringLiteral("Cettiidae"));
        f.focus(QStringLiteral("txtSpecies"));
        QCOMPARE(rows(f, QStringLiteral("Orders"), QStringLiteral("Order"),
                      QStringLiteral("Sylviiformes")),
                 1);
        QCOMPARE(f.query(QStringLiteral("SELECT COUNT(*) FROM Families WHERE Family = ? AND "
                                        "\"Order\" = ?"),
                         {QStringLiteral("Cettiidae"), QStringLiteral("Sylviiformes")}),
                 QVariant(1));
        f.focus(QStringLiteral("cboFamily"));
        f.focus(QStringLiteral("txtSpecies"));
        QCOMPARE(rows(f, QStringLiteral("Families"), QStringLiteral("Family"),
                      QStringLiteral("Cettiidae")),
                 2);

        // The record keeps what was chosen.
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE(f.query(QStringLiteral("SELECT \"Order\" || '/' || Family FROM \"Bird List\" "
                                        "WHERE CommonName = 'Osprey'")),
                 QVariant(QStringLiteral("Sylviiformes/Cettiidae")));
        QCOMPARE(family->currentText(), QStringLiteral("Troglodytidae"));
        QVERIFY(f.takeMessages().isEmpty());
    }

    void aFamilyNeedsAnOrder() {
        FormFixture f;
        f.makeList(sightings());
        f.open();
        f.enter(QStringLiteral("cboOrder"), QString());
        f.focus(QStringLiteral("cboFamily"));
        QCOMPARE_MESSAGES(
            f, QStringLiteral("No Order Specified|An Order must be entered before a Family."));
        QCOMPARE(QApplication::focusWidget(), f.get(QStringLiteral("cboOrder")));
        QCOMPARE(f.text(QStringLiteral("cboFamily")), QString());
    }

    void monthAndYearTakeOnlyListEntries() {
        FormFixture f;
        f.makeList({{{QStringLiteral("CommonName"), QStringLiteral("Kite")},
                     {QStringLiteral("Month"), QStringLiteral("Marchh")}},
                    {{QStringLiteral("CommonName"), QStringLiteral("Tern")},
                     {QStringLiteral("Month"), QStringLiteral("March")},
                     {QStringLiteral("Year"), QStringLiteral("2026")}}});
        f.open();
        auto* month = f.get<QComboBox>(QStringLiteral("cboMonth"));
        auto* year = f.get<QComboBox>(QStringLiteral("cboYear"));
        QCOMPARE(year->itemText(0), QStringLiteral("1970"));
        QCOMPARE(year->itemText(year->count() - 1), QStringLiteral("2026"));
        QCOMPARE(year->currentText(), QStringLiteral("2026"));

        // Typing is discarded; Backspace makes a text that is no entry, which is refused.
        f.focus(QStringLiteral("cboMonth"));
        QCOMPARE(f.panel(1), QStringLiteral("Select Month from drop-down list"));
        QTest::keyClicks(month, QStringLiteral("xyz"));
        QCOMPARE(month->currentText(), QStringLiteral("March"));
        QVERIFY(f.takeMessages().isEmpty());
        month->lineEdit()->end(false);
        QTest::keyClick(month, Qt::Key_Backspace);
        QCOMPARE(month->currentText(), QString());
        QCOMPARE_MESSAGES(f,
                          QStringLiteral("Plovix|Please select a Month from the drop-down list."));
        QCOMPARE(QApplication::focusWidget(), month);

        // Dropping down an empty box fills in today's month and year.
        month->showPopup();
        month->hidePopup();
        QCOMPARE(month->currentText(), QStringLiteral("December"));
        year->setCurrentIndex(-1);
        year->setEditText(QString());
        year->showPopup();
        year->hidePopup();
        QCOMPARE(year->currentText(), QStringLiteral("2026"));
        QVERIFY(f.takeMessages().isEmpty());

        // A stored month that is no entry is refused when its record is shown.
        f.click(QStringLiteral("cmdFirst"));
        QCOMPARE_MESSAGES(f,
                          QStringLiteral("Plovix|Please select a Month from the drop-down list."));
        QCOMPARE(month->currentText(), QString());
    }
};

QTEST_MAIN(TestRecordFormLookups)
#include "tst_record_form_lookups.moc"
