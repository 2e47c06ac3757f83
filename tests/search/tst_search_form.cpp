// Searching the life list from the record form: targets, the Find commands and leaving search
// mode, with the targets never reaching the file.
#include "record_form/FormFixture.h"

namespace {

const QString kNoMatch = QStringLiteral("Search Results|No matching record was found.");

Sighting sighting(const QString& name, const QString& country, const QString& year,
                  const QString& location = {}) {
    Sighting s{{QStringLiteral("CommonName"), name},
               {QStringLiteral("Country"), country},
               {QStringLiteral("Year"), year}};
    if (!location.isEmpty()) {
        s.append({QStringLiteral("Location"), location});
    }
    return s;
}

// Warblers seen in France in 2001 are numbers 1, 3 and 6.
QList<Sighting> warblers() {
    return {
        sighting(QStringLiteral("Reed Warbler"), QStringLiteral("France"), QStringLiteral("2001")),
        sighting(QStringLiteral("Robin"), QStringLiteral("France"), QStringLiteral("2001")),
        sighting(QStringLiteral("Cetti's Warbler"), QStringLiteral("France"),
                 QStringLiteral("2001"), QStringLiteral("Côte d'Azur")),
        sighting(QStringLiteral("Garden Warbler"), QStringLiteral("Spain"), QStringLiteral("2001")),
        sighting(QStringLiteral("Wood Warbler"), QStringLiteral("France"), QStringLiteral("2003")),
        sighting(QStringLiteral("Marsh warbler"), QStringLiteral("France"), QStringLiteral("2001")),
        sighting(QStringLiteral("Blackbird"), QStringLiteral("France"), QStringLiteral("2001")),
        sighting(QStringLiteral("Cetti\u2019s Warbler"), QStringLiteral("Spain"),
                 QStringLiteral("2003"), QStringLiteral("CÔTE BLANCHE")),
    };
}

bool searching(const FormFixture& f) {
    return f.form()->currentMode() == FormMode::Search;
}

}  // namespace

class TestSearchForm : public QObject {
    Q_OBJECT

private slots:
    void findsMatchesBothWaysAndCancelsOnTheLastFound() {
        FormFixture f;
        f.makeList(warblers());
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        f.click(QStringLiteral("cmdNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Robin"));

        f.click(QStringLiteral("cmdSearch"));
        QVERIFY(searching(f));
        QCOMPARE(f.shownName(), QString());
        QCOMPARE(f.text(QStringLiteral("cboCountry")), QString());
        QCOMPARE(f.focused(), f.get(QStringLiteral("txtCommonName")));

        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("warbler"));
        f.choose(QStringLiteral("cboYear"), QStringLiteral("2001"));
        f.choose(QStringLiteral("cboCountry"), QStringLiteral("France"));

        // The first Find Next starts after the record shown when the search began.
        f.click(QStringLiteral("cmdFindNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Cetti's Warbler"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 3 "));
        QVERIFY(f.shown(QStringLiteral("lblTitle")));
        QCOMPARE(f.cursor.mousePointer(), int(WaitCursor::Default));
        f.trigger(QStringLiteral("mnuFindNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Marsh warbler"));

        // Past the last match the form stays on it.
        f.click(QStringLiteral("cmdFindNext"));
        QCOMPARE_MESSAGES(f, kNoMatch);
        QCOMPARE(f.shownName(), QStringLiteral("Marsh warbler"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 6 "));
        QCOMPARE(f.focused(), f.get(QStringLiteral("cmdCancelSearch")));

        f.click(QStringLiteral("cmdFindPrevious"));
        f.trigger(QStringLiteral("mnuFindPrevious"));
        QCOMPARE(f.shownName(), QStringLiteral("Reed Warbler"));
        f.click(QStringLiteral("cmdFindPrevious"));
        QCOMPARE_MESSAGES(f, kNoMatch);
        QCOMPARE(f.shownName(), QStringLiteral("Reed Warbler"));

        f.click(QStringLiteral("cmdFindLast"));
        QCOMPARE(f.shownName(), QStringLiteral("Marsh warbler"));
        f.trigger(QStringLiteral("mnuFindFirst"));
        QCOMPARE(f.shownName(), QStringLiteral("Reed Warbler"));

        // A change made on a record found is stored when the next match is shown.
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Camargue"));
        f.click(QStringLiteral("cmdFindNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Cetti's Warbler"));
        QCOMPARE(f.stored(1, QStringLiteral("Location")), QVariant(QStringLiteral("Camargue")));

        // Cancelling keeps the record found last and browses from there.
        f.click(QStringLiteral("cmdCancelSearch"));
        QVERIFY(!searching(f));
        QCOMPARE(f.shownName(), QStringLiteral("Cetti's Warbler"));
        QCOMPARE(f.focused(), f.get(QStringLiteral("txtCommonName")));
        f.click(QStringLiteral("cmdNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Garden Warbler"));
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.total(), 8);
    }

    void withoutAMatchTheRecordFromBeforeStays() {
        FormFixture f;
        f.makeList(warblers());
        f.open();
        f.click(QStringLiteral("cmdPrevious"));
        f.trigger(QStringLiteral("mnuSearchList"));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Albatross"));
        f.trigger(QStringLiteral("mnuFindFirst"));
        QCOMPARE_MESSAGES(f, kNoMatch);
        QCOMPARE(f.shownName(), QStringLiteral("Blackbird"));
        f.click(QStringLiteral("cmdFindLast"));
        f.click(QStringLiteral("cmdFindPrevious"));
        QCOMPARE_MESSAGES(f, kNoMatch, kNoMatch);
        QCOMPARE(f.shownName(), QStringLiteral("Blackbird"));
        f.trigger(QStringLiteral("mnuCancelSearch"));
        QVERIFY(!searching(f));
        QCOMPARE(f.shownName(), QStringLiteral("Blackbird"));
        QCOMPARE(f.panel(2), QStringLiteral("Record 7 "));
        QCOMPARE(f.total(), 8);
    }

    void cancellingOrClosingBeforeAFindStoresNoTarget() {
        FormFixture f;
        f.makeList(warblers());
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        f.click(QStringLiteral("cmdNext"));
        // The typing on the record shown is stored as search mode begins.
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("Hedge"));
        f.trigger(QStringLiteral("mnuSearchList"));
        QCOMPARE(f.stored(2, QStringLiteral("Location")), QVariant(QStringLiteral("Hedge")));

        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Wren"));
        f.enter(QStringLiteral("txtComments"), QStringLiteral("in the reeds"));
        f.click(QStringLiteral("cmdCancelSearch"));
        QVERIFY(!searching(f));
        QCOMPARE(f.shownName(), QStringLiteral("Robin"));
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QStringLiteral("Hedge"));
        QCOMPARE(f.text(QStringLiteral("txtComments")), QString());
        QCOMPARE(f.panel(2), QStringLiteral("Record 2 "));
        f.click(QStringLiteral("cmdNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Cetti's Warbler"));
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.total(), 8);

        // A found record left without a common name keeps the search going.
        f.click(QStringLiteral("cmdSearch"));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Robin"));
        f.click(QStringLiteral("cmdFindFirst"));
        f.enter(QStringLiteral("txtCommonName"), QString());
        f.click(QStringLiteral("cmdCancelSearch"));
        QCOMPARE_MESSAGES(f, QStringLiteral("Invalid Entry|A Common Name must be entered."));
        QVERIFY(searching(f));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("European Robin"));
        f.click(QStringLiteral("cmdCancelSearch"));
        QVERIFY(!searching(f));

        // Closing the window while targets are typed drops them without a question.
        f.click(QStringLiteral("cmdSearch"));
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("Nightingale"));
        QVERIFY(f.form()->close());
        QVERIFY(f.takeMessages().isEmpty());
        FormFixture again;
        QFile::copy(f.listPath(), again.listPath());
        again.open();
        QCOMPARE(again.total(), 8);
        QCOMPARE(again.query(QStringLiteral("SELECT CommonName FROM \"Bird List\" "
                                            "WHERE Number = 2")),
                 QVariant(QStringLiteral("European Robin")));
    }

    void quotesAndAccentsInTargets() {
        FormFixture f;
        f.makeList(warblers());
        f.open();
        f.click(QStringLiteral("cmdSearch"));
        // A quote stands for any one character: the typographic apostrophe is found too.
        f.enter(QStringLiteral("txtCommonName"), QStringLiteral("cetti's"));
        f.click(QStringLiteral("cmdFindFirst"));
        QCOMPARE(f.shownName(), QStringLiteral("Cetti's Warbler"));
        f.click(QStringLiteral("cmdFindNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Cetti\u2019s Warbler"));
        f.click(QStringLiteral("cmdCancelSearch"));

        // An accented letter typed in the other case.
        f.click(QStringLiteral("cmdSearch"));
        f.enter(QStringLiteral("txtLocation"), QStringLiteral("CÔTE D'"));
        f.click(QStringLiteral("cmdFindLast"));
        QCOMPARE(f.text(QStringLiteral("txtLocation")), QStringLiteral("Côte d'Azur"));
        f.click(QStringLiteral("cmdFindPrevious"));
        QCOMPARE_MESSAGES(f, kNoMatch);
        f.click(QStringLiteral("cmdCancelSearch"));
        QCOMPARE(f.total(), 8);
    }

    void noTargetStartsSearchModeAfresh() {
        FormFixture f;
        f.makeList(warblers());
        f.open();
        f.click(QStringLiteral("cmdFirst"));
        f.click(QStringLiteral("cmdSearch"));
        f.click(QStringLiteral("cmdFindNext"));
        QCOMPARE_MESSAGES(f, QStringLiteral("No Search Target|"
                                            "Please enter at least one value to search for"));
        QCOMPARE(f.cursor.mousePointer(), int(WaitCursor::Default));
        QVERIFY(f.shown(QStringLiteral("lblEnterSearch")));
        QCOMPARE(f.shownName(), QString());
        QCOMPARE(f.focused(), f.get(QStringLiteral("txtCommonName")));

        // The search still starts from the record shown before.
        f.choose(QStringLiteral("cboCountry"), QStringLiteral("Spain"));
        f.click(QStringLiteral("cmdFindNext"));
        QCOMPARE(f.shownName(), QStringLiteral("Garden Warbler"));
        QVERIFY(f.takeMessages().isEmpty());
        QCOMPARE(f.total(), 8);
    }

    void lookupBoxesTakeOnlyListEntriesWhileTargetsAreTyped() {
        FormFixture f;
        f.makeList(warblers());
        f.open();
        f.click(QStringLiteral("cmdSearch"));
        auto* country = f.get<QComboBox>(QStringLiteral("cboCountry"));
        f.enter(QStringLiteral("cboCountry"), QStringLiteral("Fr"));
        QCOMPARE(country->currentText(), QString());
        QCOMPARE(
            f.panel(1),
            QStringLiteral("In search mode, Country can only be selected from drop-down list"));

        // Text that got in some other way is refused when the box is left.
        country->setEditText(QStringLiteral("Narnia"));
        f.focus(QStringLiteral("txtLocation"));
        QCOMPARE_MESSAGES(
            f,
            QStringLiteral(
                "Invalid Entry|In search mode, Country can only be selected from drop-down list."));
        QCOMPARE(country->currentText(), QString());
        QCoreApplication::processEvents();
        QCOMPARE(f.focused(), country);
        QCOMPARE(f.query(QStringLiteral("SELECT COUNT(*) FROM Countries WHERE Country = ?"),
                         {QStringLiteral("Narnia")}),
                 QVariant(0));
    }
};

QTEST_MAIN(TestSearchForm)
#include "tst_search_form.moc"
