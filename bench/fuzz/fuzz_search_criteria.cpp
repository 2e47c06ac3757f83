// The search form's criteria: typed targets made into LIKE patterns and joined into one
// condition, run as Find Next runs it on a life list held in memory.
//
// Input, one value a line: the targets of the twelve search fields in the form's order, then the
// thirteen fields of the one sighting on the list, then a value that Country must equal (as
// the life-list editor looks an entry up). Lines left out are empty targets and Null fields.
#include "FuzzInput.h"
#include "database/Database.h"
#include "database/LikePattern.h"
#include "database/Schema.h"
#include "database/SqlFunctions.h"
#include "search/SearchCriteria.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

QSqlDatabase& lifeList() {
    static QSqlDatabase db = [] {
        QSqlDatabase opened =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz"));
        opened.setDatabaseName(QStringLiteral(":memory:"));
        if (!opened.open() || !registerSqlFunctions(opened) || lifelist::createSchema(opened)) {
            std::fprintf(stderr, "cannot make the life list in memory\n");
            std::abort();
        }
        return opened;
    }();
    return db;
}

// The same condition with every value replaced: the SQL text must come out the same.
Criteria withPlaceholderValues(const Criteria& criteria) {
    Criteria blank;
    for (const Criteria::Term& term : criteria.terms()) {
        blank &= term.kind == Criteria::Term::Like
                     ? Criteria::like(term.field, QStringLiteral("x"))
                     : Criteria::equals(term.field, QStringLiteral("x"));
    }
    return blank;
}

// Whether the sighting meets the condition, worked out without SQL.
bool meets(const Criteria& criteria, const QHash<QString, QString>& sighting) {
    for (const Criteria::Term& term : criteria.terms()) {
        const auto value = sighting.constFind(term.field);
        if (value == sighting.constEnd()) {
            return false;  // Null meets nothing
        }
        const QString wanted = term.value.toString();
        const bool met = term.kind == Criteria::Term::Like ? LikePattern(wanted).matches(*value)
                                                           : foldCase(*value) == foldCase(wanted);
        if (!met) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);  // the SQL driver is a plug-in
    lifeList();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList lines = fuzz::linesOf(fuzz::typedText(data, size));
    const QStringList& targetFields = search::targetFields();
    const QStringList& fields = lifelist::birdListFields();
    const auto line = [&lines](qsizetype at) { return lines.value(at); };

    for (qsizetype i = 0; i < targetFields.size(); ++i) {
        const QString target = line(i);
        const QString pattern = search::MakeSearchTarget(target);
        FUZZ_CHECK(pattern.size() == target.size() + 2);
        FUZZ_CHECK(pattern.startsWith(u'*') && pattern.endsWith(u'*'));
        FUZZ_CHECK(!pattern.contains(u'\''));
    }
    Criteria criteria = search::buildCriteria(
        [&](const QString& field) { return line(targetFields.indexOf(field)); });
    qsizetype typed = 0;
    for (qsizetype i = 0; i < targetFields.size(); ++i) {
        typed += line(i).isEmpty() ? 0 : 1;
    }
    FUZZ_CHECK(criteria.terms().size() == typed);
    if (lines.size() > targetFields.size() + fields.size()) {
        criteria &=
            Criteria::equals(QStringLiteral("Country"), line(targetFields.size() + fields.size()));
    }

    // The values are bound, never part of the SQL.
    const QString condition = criteria.sqlCondition();
    const QVariantList parameters = criteria.sqlParameters();
    FUZZ_CHECK(condition == withPlaceholderValues(criteria).sqlCondition());
    FUZZ_CHECK(condition.count(u'?') == parameters.size());
    (void)criteria.text();

    QSqlDatabase& db = lifeList();
    QSqlQuery query(db);
    FUZZ_CHECK(!runSql(query, QStringLiteral("DELETE FROM \"Bird List\"")));
    QHash<QString, QString> sighting;
    QVariantList values;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const qsizetype at = targetFields.size() + i;
        if (at < lines.size()) {
            const QString value = line(at).isNull() ? QStringLiteral("") : line(at);
            sighting.insert(fields[i], value);
            values.append(value);
        } else {
            values.append(QVariant());
        }
    }
    FUZZ_CHECK(!runSql(query,
                       QStringLiteral("INSERT INTO \"Bird List\" (%1) VALUES (%2)")
                           .arg(quoteIdentifiers(fields),
                                QStringList(fields.size(), QStringLiteral("?")).join(u',')),
                       values));

    // As Find Next asks for the sightings that meet the condition.
    query.setForwardOnly(true);
    const DbError error =
        runSql(query, QStringLiteral("SELECT rowid FROM \"Bird List\" WHERE %1").arg(condition),
               parameters);
    if (error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description));
    }
    FUZZ_CHECK(!error);
    int found = 0;
    while (query.next()) {
        ++found;
    }
    FUZZ_CHECK(found <= 1);
    // SQLite keeps text as UTF-8, so a lone surrogate does not come back as it went in: only
    // other texts are compared.
    const QString all = lines.join(u'\n');
    if (all.isValidUtf16()) {
        FUZZ_CHECK((found == 1) == meets(criteria, sighting));
    }
    return 0;
}
