// Searching the life list from the record form: targets turned into criteria, the Find
// commands and leaving search mode, with the targets never reaching the file.
#include "FormFixture.h"
#include "search/SearchCriteria.h"

namespace {

const QString kNoMatch = u"Search Results|No matching record was found."_s;

// Warblers seen in France in 2001 are numbers 1, 3 and 6.
QList<Sighting> warblers() {
    QList<Sighting> list;
    for (const char* sighting :
         {"Reed Warbler|France|2001", "Robin|France|2001", "Cetti's Warbler|France|2001",
          "Garden Warbler|Spain|2001", "Wood Warbler|France|2003", "Marsh warbler|France|2001",
          "Blackbird|France|2001", "Sedge Warbler|Spain|2003"}) {
        const QStringList values = QString::fromUtf8(sighting).split(u'|');
        list.append(
            {{u"CommonName"_s, values[0]}, {u"Country"_s, values[1]}, {u"Year"_s, values[2]}});
    }
    return list;
}

}  // namespace

class TestSearchForm : public QObject {
    Q_OBJECT

private slots:
    void targetsJoinInTheFieldsOrderAsPatterns() {
        // Typed last field first; read in the form's order, whatever the typing order was. A
        // quote becomes "?" (any one character); the user's own wildcards keep their meaning.
        const QHash<QString, QString> typed{{"Additional", "nest"},
                                            {"Year", "2001"},
                                            {"Order", "Passeri*s"},
                                            {"CommonName", "Cetti's"},
                                            {u"Location"_s, QString()}};
        auto criteriaFor = [](const QHash<QString, QString>& targets) {
            return search::buildCriteria([&](const QString& field) { return targets[field]; });
        };
        QCOMPARE(criteriaFor(typed).text(),
                 u"[CommonName] LIKE '*Cetti?s*' AND [Order] LIKE '*Passeri*s*' AND [Year] LIKE "
                 u"'*2001*' AND [Additional] LIKE '*nest*'"_s);
        QVERIFY(criteriaFor({}).isEmpty());
        QCOMPARE(search::MakeSearchTarget(u"'a''"_s), u"*?a??*"_s);
    }

    void findsMatchesBothWaysAndCancelsOnTheLastFound() {
        FormFixture f(warblers());
        f.press({"cmdFirst", "cmdNext", "cmdSearch"});
        QCOMPARE(f.form()->currentMode(), FormMode::Search);
        QCOMPARE(f.shownName(), QString());
        QCOMPARE(f.focused(), f.get("txtCommonName"));
        f.enter("txtCommonName", "warbler");
        f.choose("cboYear", "2001");
        f.choose("cboCountry", "France");

        // Each step: the Find, the record shown and whether nothing more matched. The first
        // Find Next starts after the record shown when the search began (Robin, number 2).
        const std::tuple<const char*, int, bool> steps[] = {
            {"cmdFindNext", 3, false},     {"mnuFindNext", 6, false},
            {"cmdFindNext", 6, true},      {"cmdFindPrevious", 3, false},
            {"mnuFindPrevious", 1, false}, {"cmdFindPrevious", 1, true},
            {"cmdFindLast", 6, false},     {"mnuFindFirst", 1, false},
        };
        for (const auto& [find, number, nothingMore] : steps) {
            f.press({find});
            QCOMPARE(f.panel(2), u"Record %1 "_s.arg(number));
            QCOMPARE(f.takeMessages(), nothingMore ? QStringList{kNoMatch} : QStringList());
            QCOMPARE(f.cursor.mousePointer(), int(WaitCursor::Default));
            QVERIFY(!nothingMore || f.focused() == f.get("cmdCancelSearch"));
        }
        QVERIFY(f.shown("lblTitle"));

        // A change made on a record found is stored when the next match is shown.
        f.enter("txtLocation", "Camargue");
        f.press({"cmdFindNext"});
        QCOMPARE(f.stored(1, "Location"), QVariant(u"Camargue"_s));

        // Cancelling keeps the record found last and browses from there.
        f.press({"cmdCancelSearch"});
        QCOMPARE(f.form()->currentMode(), FormMode::Browse);
        QCOMPARE(f.shownName(), u"Cetti's Warbler"_s);
        QCOMPARE(f.focused(), f.get("txtCommonName"));
        f.press({"cmdNext"});
        QCOMPARE(f.shownName(), u"Garden Warbler"_s);
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.total(), 8);
    }

    void withoutAMatchOrATargetTheRecordFromBeforeStays() {
        FormFixture f(warblers());
        f.press({"cmdPrevious", "mnuSearchList"});
        f.enter("txtCommonName", "Albatross");
        f.press({"mnuFindFirst", "cmdFindLast", "cmdFindPrevious"});
        QCOMPARE_MESSAGES(f, kNoMatch, kNoMatch, kNoMatch);
        QCOMPARE(f.shownName(), u"Blackbird"_s);
        f.press({"mnuCancelSearch"});
        QCOMPARE(f.form()->currentMode(), FormMode::Browse);
        QCOMPARE(f.panel(2), u"Record 7 "_s);

        // With no target search mode starts afresh; the search still starts from the record
        // shown before.
        f.press({"cmdFirst", "cmdSearch", "cmdFindNext"});
        QCOMPARE_MESSAGES(f, u"No Search Target|Please enter at least one value to search for"_s);
        QCOMPARE(f.cursor.mousePointer(), int(WaitCursor::Default));
        QVERIFY(f.shown("lblEnterSearch"));
        QCOMPARE(f.shownName(), QString());
        QCOMPARE(f.focused(), f.get("txtCommonName"));
        f.choose("cboCountry", "Spain");
        f.press({"cmdFindNext"});
        QCOMPARE(f.shownName(), u"Garden Warbler"_s);
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.total(), 8);
    }

    void cancellingOrClosingBeforeAFindStoresNoTarget() {
        FormFixture f(warblers());
        f.press({"cmdFirst", "cmdNext"});
        // The typing on the record shown is stored as search mode begins.
        f.enter("txtLocation", "Hedge");
        f.press({"mnuSearchList"});
        QCOMPARE(f.stored(2, "Location"), QVariant(u"Hedge"_s));
        f.enter("txtCommonName", "Wren");
        f.enter("txtComments", "in the reeds");
        f.press({"cmdCancelSearch"});
        QCOMPARE(f.shownName(), u"Robin"_s);
        QCOMPARE(f.text("txtComments"), QString());
        QCOMPARE(f.panel(2), u"Record 2 "_s);
        f.press({"cmdNext"});
        QCOMPARE(f.shownName(), u"Cetti's Warbler"_s);

        // A found record left without a common name keeps the search going.
        f.press({"cmdSearch"});
        f.enter("txtCommonName", "Robin");
        f.press({"cmdFindFirst"});
        f.enter("txtCommonName", QString());
        f.press({"cmdCancelSearch"});
        QCOMPARE_MESSAGES(f, u"Invalid Entry|A Common Name must be entered."_s);
        QCOMPARE(f.form()->currentMode(), FormMode::Search);
        f.enter("txtCommonName", "European Robin");
        f.press({"cmdCancelSearch"});

        // Closing the window while targets are typed drops them without a question.
        f.press({"cmdSearch"});
        f.enter("txtCommonName", "Nightingale");
        QVERIFY(f.form()->close());
        QVERIFY(f.takeMessages().isEmpty());
        FormFixture again;
        again.openCopyOf(f);
        QCOMPARE(again.total(), 8);
        QCOMPARE(again.stored(2, "CommonName"), QVariant(u"European Robin"_s));
    }

    void lookupBoxesTakeOnlyListEntriesWhileTargetsAreTyped() {
        FormFixture f(warblers());
        f.press({"cmdSearch"});
        auto* country = f.get<QComboBox>("cboCountry");
        f.enter("cboCountry", "Fr");
        QCOMPARE(country->currentText(), QString());
        QCOMPARE(f.panel(1), u"In search mode, Country can only be selected from drop-down list"_s);
        // Text that got in some other way is refused when the box is left.
        country->setEditText(u"Narnia"_s);
        f.focus("txtLocation");
        QCOMPARE_MESSAGES(
            f,
            u"Invalid Entry|In search mode, Country can only be selected from drop-down list."_s);
        QCOMPARE(country->currentText(), QString());
        QCoreApplication::processEvents();
        QCOMPARE(f.focused(), country);
        QCOMPARE(f.query(u"SELECT COUNT(*) FROM Countries WHERE Country = 'Narnia'"_s),
                 QVariant(0));
    }
};

QTEST_MAIN(TestSearchForm)
#include "tst_search_form.moc"
