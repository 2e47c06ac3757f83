// The engine's LIKE patterns and the CSV reader behind the shipped data.
#include "database/CsvReader.h"
#include "database/LikePattern.h"
#include "database/ShippedData.h"

#include <QtTest>

class TestLikePattern : public QObject {
    Q_OBJECT
private slots:
    void patterns() {
        const struct {
            const char *name, *pattern, *text;
            bool matches;
        } cases[] = {
            {"run inside", "*warbler*", "Marsh Warbler", true},
            {"run at both ends", "*a*b*", "xxaxxbxx", true},
            {"backtracking", "*ab", "aab", true},
            {"backtracking fails", "*ab*c", "abab", false},
            {"empty pattern", "", "", true},
            {"empty pattern, text", "", "a", false},
            {"star matches empty", "*", "", true},
            {"one character", "W?en", "Wren", true},
            {"one character, not none", "Wr?en", "Wren", false},
            {"digit", "19##", "1987", true},
            {"digit refuses letter", "19##", "19x7", false},
            {"list", "[bw]ren", "Wren", true},
            {"range", "[a-c]*", "Bunting", true},
            {"negated list", "[!w]ren", "Wren", false},
            {"literal star in list", "a[*]b", "a*b", true},
            {"unclosed bracket is literal", "[ab", "[ab", true},
            {"accented case", "*côte*", "CÔTE D'IVOIRE", true},
            {"greek case", "σ*", "Σίσυφος", true},
            {"astral character is one", "?x", "\xF0\x9F\x90\xA6x", true},
            {"percent is literal", "100%", "1000", false},
        };
        for (const auto& c : cases)
            QVERIFY2(LikePattern(c.pattern).matches(c.text) == c.matches, c.name);
    }

    void csvFields() {
        const auto rows = parseCsv(QStringLiteral(
            "family,order,english\r\nLaridae,Charadriiformes,\"Gulls, Terns, and Skimmers\"\r\n"
            "\"Say \"\"hi\"\"\",x,\n\nNamibia,NA,Africa"));
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[1],
                 (QStringList{"Laridae", "Charadriiformes", "Gulls, Terns, and Skimmers"}));
        QCOMPARE(rows[2], (QStringList{"Say \"hi\"", "x", ""}));
        QCOMPARE(rows[3][1], QStringLiteral("NA"));
    }

    void shippedDataIsComplete() {
        const ShippedData data = ShippedData::load();
        QCOMPARE(data.orders.size(), 46);
        QCOMPARE(data.families.size(), 252);
        QCOMPARE(data.countries.size(), 249);
        QCOMPARE(data.regions.size(), 7);
        QVERIFY(data.countries.contains(QStringLiteral("Namibia")));
        for (const auto& family : data.families)
            QVERIFY2(data.orders.contains(family.order), qPrintable(family.family));
    }
};

QTEST_GUILESS_MAIN(TestLikePattern)
#include "tst_like_pattern.moc"
