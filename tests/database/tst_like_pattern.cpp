// The engine's LIKE patterns and the CSV reader behind the shipped data.
#include "database/CsvReader.h"
#include "database/LikePattern.h"
#include "database/ShippedData.h"

#include <QtTest>

class TestLikePattern : public QObject {
    Q_OBJECT
private slots:
    void patterns_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        QTest::newRow("run inside") << "*warbler*"
                                    << "Marsh Warbler" << true;
        QTest::newRow("run at both ends") << "*a*b*"
                                          << "xxaxxbxx" << true;
        QTest::newRow("backtracking") << "*ab"
                                      << "aab" << true;
        QTest::newRow("backtracking fails") << "*ab*c"
                                            << "abab" << false;
        QTest::newRow("empty pattern") << ""
                                       << "" << true;
        QTest::newRow("empty pattern, text") << ""
                                             << "a" << false;
        QTest::newRow("star matches empty") << "*"
                                            << "" << true;
        QTest::newRow("one character") << "W?en"
                                       << "Wren" << true;
        QTest::newRow("one character, not none") << "Wr?en"
                                                 << "Wren" << false;
        QTest::newRow("digit") << "19##"
                               << "1987" << true;
        QTest::newRow("digit refuses letter") << "19##"
                                              << "19x7" << false;
        QTest::newRow("list") << "[bw]ren"
                              << "Wren" << true;
        QTest::newRow("range") << "[a-c]*"
                               << "Bunting" << true;
        QTest::newRow("negated list") << "[!w]ren"
                                      << "Wren" << false;
        QTest::newRow("literal star in list") << "a[*]b"
                                              << "a*b" << true;
        QTest::newRow("unclosed bracket is literal") << "[ab"
                                                     << "[ab" << true;
        QTest::newRow("accented case") << "*côte*"
                                       << "CÔTE D'IVOIRE" << true;
        QTest::newRow("greek case") << "σ*"
                                    << "Σίσυφος" << true;
        QTest::newRow("astral character is one")
            << "?x" << QString::fromUtf8("\xF0\x9F\x90\xA6x") << true;
        QTest::newRow("percent is literal") << "100%"
                                            << "1000" << false;
    }
    void patterns() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        QCOMPARE(LikePattern(pattern).matches(text), matches);
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
        for (const auto& family : data.families) {
            QVERIFY2(data.orders.contains(family.order), qPrintable(family.family));
        }
    }
};

QTEST_GUILESS_MAIN(TestLikePattern)
#include "tst_like_pattern.moc"
