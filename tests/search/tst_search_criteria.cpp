// Search targets turned into criteria.
#include "search/SearchCriteria.h"

#include <QHash>
#include <QtTest>

namespace {

Criteria criteriaFor(const QHash<QString, QString>& typed) {
    return search::buildCriteria([&typed](const QString& field) { return typed.value(field); });
}

}  // namespace

class TestSearchCriteria : public QObject {
    Q_OBJECT

private slots:
    void targetsJoinInTheFieldsOrder() {
        // Typed last field first; read in the form's order, whatever the typing order was.
        QHash<QString, QString> typed;
        typed.insert(QStringLiteral("Additional"), QStringLiteral("nest"));
        typed.insert(QStringLiteral("Year"), QStringLiteral("2001"));
        typed.insert(QStringLiteral("Order"), QStringLiteral("Passeriformes"));
        typed.insert(QStringLiteral("CommonName"), QStringLiteral("Robin"));
        typed.insert(QStringLiteral("Location"), QString());
        QCOMPARE(criteriaFor(typed).text(),
                 QStringLiteral("[CommonName] LIKE '*Robin*' AND [Order] LIKE '*Passeriformes*' "
                                "AND [Year] LIKE '*2001*' AND [Additional] LIKE '*nest*'"));

        QCOMPARE(search::targetFields().size(), 12);
        QHash<QString, QString> every;
        for (const QString& field : search::targetFields()) {
            every.insert(field, QStringLiteral("x"));
        }
        QCOMPARE(criteriaFor(every).terms().size(), 12);
        QVERIFY(criteriaFor({}).isEmpty());
    }

    void quotesBecomeOneCharacterAndWildcardsStay() {
        QCOMPARE(search::MakeSearchTarget(QStringLiteral("Cetti's")), QStringLiteral("*Cetti?s*"));
        QCOMPARE(search::MakeSearchTarget(QStringLiteral("'a''")), QStringLiteral("*?a??*"));
        QCOMPARE(search::MakeSearchTarget(QStringLiteral("Gr?y*Heron")),
                 QStringLiteral("*Gr?y*Heron*"));
    }
};

QTEST_GUILESS_MAIN(TestSearchCriteria)
#include "tst_search_criteria.moc"
