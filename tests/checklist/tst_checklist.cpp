// The world checklist: reading it, completing names as they are typed, finding a species by
// either name, and what a pick puts on a sighting.
#include "checklist/Checklist.h"
#include "checklist/SpeciesPick.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString kHeader = u"common_name,scientific_name,order,family_scientific,family_english\n"_s;

// Wrens and a few others, in checklist order.
const QString kSpecies =
    kHeader +
    QStringList(
        {
            u"Eurasian Wren,Troglodytes troglodytes,Passeriformes,Troglodytidae,Wrens"_s,
            u"Winter Wren,Troglodytes hiemalis,Passeriformes,Troglodytidae,Wrens"_s,
            u"Wrentit,Chamaea fasciata,Passeriformes,Sylviidae,Sylviid Babblers"_s,
            u"Rüppell's Warbler,Curruca ruppeli,Passeriformes,Sylviidae,Sylviid Babblers"_s,
            u"Wren-like Rushbird,Phleocryptes melanops,Passeriformes,Furnariidae,Ovenbirds"_s,
            u"Great Tit,Parus major,Passeriformes,Paridae,Tits"_s,
        })
        .join(u'\n');

Checklist checklistOf(const QString& csv) {
    QString error;
    std::optional<Checklist> checklist = Checklist::fromCsv(csv, error);
    if (!checklist) {
        qFatal("checklist: %s", qPrintable(error));
    }
    return *checklist;
}

}  // namespace

class TestChecklist : public QObject {
    Q_OBJECT

private slots:
    void completion_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("offered");
        const auto row = [](const char* name, const QString& typed, const QStringList& offered) {
            QTest::newRow(name) << typed << offered;
        };
        // Names whose words the typed words begin come first, then names holding the text;
        // each group in checklist order.
        row("word starts", u"wren"_s,
            {"Eurasian Wren", "Winter Wren", "Wrentit", "Wren-like Rushbird"});
        row("word starts before text inside", u"tit"_s, {"Great Tit", "Wrentit"});
        row("every word, in any order", u"wren WIN"_s, {"Winter Wren"});
        row("a word begins only one word", u"wren wren"_s, {});
        row("accents, case and apostrophes", u"RUPPELLS"_s, {"Rüppell's Warbler"});
        row("typographic apostrophe", u"Rüppell\u2019s w"_s, {"Rüppell's Warbler"});
        row("scientific names", u"@trog hiem"_s, {"Troglodytes hiemalis"});
        row("nothing typed", u" '- "_s, {});
    }
    void completion() {
        QFETCH(QString, typed);
        const Checklist checklist = checklistOf(kSpecies);
        const bool scientific = typed.startsWith(u'@');
        QStringList names;
        for (qsizetype i : checklist.complete(
                 scientific ? Checklist::Names::Scientific : Checklist::Names::English,
                 typed.mid(scientific ? 1 : 0))) {
            names.append(scientific ? checklist.at(i).scientific : checklist.at(i).english);
        }
        QTEST(names, "offered");
        // Either name finds the species, whatever its case.
        QCOMPARE(checklist.find(Checklist::Names::Scientific, u"TROGLODYTES HIEMALIS"_s), 1);
        QCOMPARE(checklist.find(Checklist::Names::English, u"Wren"_s), std::nullopt);
    }

    void aFileIsReadByItsColumnNamesOrRefused_data() {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("error");
        QTest::newRow("byte-order mark, columns in any order")
            << u"\uFEFForder,family_scientific,scientific_name,common_name\r\n"
               u"Passeriformes,Troglodytidae,Troglodytes hiemalis,Winter Wren\r\n"_s
            << QString();
        QTest::newRow("a column missing") << u"common_name,order,family_scientific\nW,P,T\n"_s
                                          << u"has no scientific_name column"_s;
        QTest::newRow("a short row")
            << kSpecies + u"\nWren,Troglodytes\n"_s << u"has no species in row 8"_s;
    }
    void aFileIsReadByItsColumnNamesOrRefused() {
        QFETCH(QString, csv);
        QString reason;
        const std::optional<Checklist> checklist = Checklist::fromCsv(csv, reason);
        QTEST(reason, "error");
        if (checklist) {
            QCOMPARE(checklist->at(0).english + u'|' + checklist->at(0).order,
                     u"Winter Wren|Passeriformes"_s);
        }
    }

    void aPickFillsOnlyWhatIsEmpty() {
        // The order and family shown, then those the pick puts in ("": the box is left alone).
        const std::array<std::array<QString, 4>, 4> cases = {{
            {"", "", "Passeriformes", "Troglodytidae"},
            {"passeriformes", "", "", "Troglodytidae"},
            // A family never goes under an order the user typed for another species.
            {"Piciformes", "", "", ""},
            {"", "Wrens", "Passeriformes", ""},
        }};
        const ChecklistSpecies wren = checklistOf(kSpecies).at(1);
        for (const auto& [orderShown, familyShown, order, family] : cases) {
            const PickedValues values = pickedValues(wren, orderShown, familyShown);
            QCOMPARE(QStringList({values.commonName, values.species, values.order, values.family}),
                     QStringList({"Winter Wren", "Troglodytes hiemalis", order, family}));
        }
    }
};

QTEST_GUILESS_MAIN(TestChecklist)
#include "tst_checklist.moc"
