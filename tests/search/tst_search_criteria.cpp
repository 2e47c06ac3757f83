// Search targets turned into criteria.
#include "search/SearchCriteria.h"

#include <QHash>
#include <QtTest>

using namespace Qt::StringLiterals;

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
        typed.insert(u"Additional"_s, u"nest"_s);
        typed.insert(u"Year"_s, u"2001"_s);
        typed.insert(u"Order"_s, u"Passeriformes"_s);
        typed.insert(u"CommonName"_s, u"Robin"_s);
        typed.insert(u"Location"_s, QString());
        QCOMPARE(criteriaFor(typed).text(),
                 (u"[CommonName] LIKE '*Robin*' AND [Order] LIKE '*Passeriformes*' "
                  u"AND [Year] LIKE '*2001*' AND [Additional] LIKE '*nest*'"_s));

        QCOMPARE(search::targetFields().size(), 12);
        QHash<QString, QString> every;
        for (const QString& field : search::targetFields()) {
            every.insert(field, u"x"_s);
        }
        QCOMPARE(criteriaFor(every).terms().size(), 12);
        QVERIFY(criteriaFor({}).isEmpty());
    }

    void quotesBecomeOneCharacterAndWildcardsStay() {
        QCOMPARE(search::MakeSearchTarget(u"Cetti's"_s), u"*Cetti?s*"_s);
        QCOMPARE(search::MakeSearchTarget(u"'a''"_s), u"*?a??*"_s);
        QCOMPARE(search::MakeSearchTarget(u"Gr?y*Heron"_s), u"*Gr?y*Heron*"_s);
    }
};

QTEST_GUILESS_MAIN(TestSearchCriteria)
#include "tst_search_criteria.moc"
