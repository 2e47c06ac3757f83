#include "database/SalvageTarget.h"

#include "database/Database.h"
#include "database/Schema.h"

#include <QSqlError>

namespace salvage {

DbError Target::prepareInsert(const QString& table, const QStringList& fields, bool withNumber) {
    QStringList columns;
    if (withNumber) {
        columns.append(quoteIdentifier(field::Number));
    }
    for (const QString& field : fields) {
        columns.append(quoteIdentifier(field));
    }
    m_withNumber = withNumber;
    m_insert.emplace(m_db);
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quoteIdentifier(table), columns.join(QStringLiteral(", ")),
                 QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    return m_insert->prepare(sql) ? DbError{} : DbError::fromSql(m_insert->lastError());
}

DbError Target::insert(const QVariant& number, const QVariantList& values) {
    int index = 0;
    if (m_withNumber) {
        m_insert->bindValue(index++, number);
    }
    for (const QVariant& value : values) {
        m_insert->bindValue(index++, value);
    }
    return m_insert->exec() ? DbError{} : DbError::fromSql(m_insert->lastError());
}

DbError Target::raiseSequence(qint64 number) {
    m_insert.reset();
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ? AND seq < ?"));
    query.addBindValue(number);
    query.addBindValue(lifelist::kBirdList);
    query.addBindValue(number);
    if (!query.exec()) {
        return DbError::fromSql(query.lastError());
    }
    query.prepare(
        QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT ?, ? WHERE NOT EXISTS "
                       "(SELECT 1 FROM sqlite_sequence WHERE name = ?)"));
    query.addBindValue(lifelist::kBirdList);
    query.addBindValue(number);
    query.addBindValue(lifelist::kBirdList);
    return query.exec() ? DbError{} : DbError::fromSql(query.lastError());
}

}  // namespace salvage
