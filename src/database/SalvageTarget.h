#pragma once

#include "database/DbError.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <optional>

namespace salvage {

// The new file's side: the rows are written in one transaction.
class Target {
public:
    explicit Target(QSqlDatabase db) : m_db(std::move(db)) {}

    DbError prepareInsert(const QString& table, const QStringList& fields, bool withNumber);
    DbError insert(const QVariant& number, const QVariantList& values);
    // Raises the AUTOINCREMENT counter of "Bird List" to at least `number`.
    DbError raiseSequence(qint64 number);

private:
    QSqlDatabase m_db;
    std::optional<QSqlQuery> m_insert;
    bool m_withNumber = false;
};

}  // namespace salvage
