#include "ListState.h"

#include "database/Schema.h"

#include <sqlite3.h>
#include <QFile>
#include <QStringList>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

// Opens read-only: judging a file must never change it (a hot journal is rolled back by the
// program's own opening, which the runs do first).
Connection openFile(const QString& path, QString& problem) {
    sqlite3* db = nullptr;
    const int result =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    Connection connection(db, &sqlite3_close);
    if (result != SQLITE_OK) {
        problem = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        connection.reset();
    }
    return connection;
}

void appendValue(QByteArray& row, sqlite3_stmt* statement, int column) {
    const int type = sqlite3_column_type(statement, column);
    row += char('0' + type);
    if (type != SQLITE_NULL) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        row += QByteArray::number(size) + ':' + QByteArray(bytes, size);
    }
    row += '\x1f';
}

}  // namespace

const QMap<qint64, QByteArray>& ListState::sightings() const {
    static const QMap<qint64, QByteArray> none;
    const auto found = tables.constFind(lifelist::kBirdList);
    return found == tables.constEnd() ? none : *found;
}

std::optional<ListState> readState(const QString& path, QString& problem) {
    Connection db = openFile(path, problem);
    if (!db) {
        return std::nullopt;
    }
    QStringList names;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db.get(), "SELECT name FROM sqlite_schema WHERE type = 'table'", -1,
                       &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        names.append(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
    }
    if (sqlite3_finalize(statement) != SQLITE_OK || names.isEmpty()) {
        problem = QString::fromUtf8(sqlite3_errmsg(db.get()));
        return std::nullopt;
    }
    ListState state;
    for (const QString& name : names) {
        QString quoted = name;
        const QByteArray sql =
            "SELECT rowid, * FROM \"" + quoted.replace(u'"', u"\"\""_s).toUtf8() + '"';
        statement = nullptr;
        if (sqlite3_prepare_v2(db.get(), sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
            problem = QString::fromUtf8(sqlite3_errmsg(db.get()));
            return std::nullopt;
        }
        QMap<qint64, QByteArray>& rows = state.tables[name];
        const int columns = sqlite3_column_count(statement);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QByteArray row;
            for (int column = 1; column < columns; ++column) {
                appendValue(row, statement, column);
            }
            rows.insert(sqlite3_column_int64(statement, 0), row);
        }
        if (sqlite3_finalize(statement) != SQLITE_OK) {
            problem = QString::fromUtf8(sqlite3_errmsg(db.get()));
            return std::nullopt;
        }
    }
    return state;
}

QString integrityCheck(const QString& path) {
    QString problem;
    Connection db = openFile(path, problem);
    if (!db) {
        return problem;
    }
    sqlite3_stmt* statement = nullptr;
    QStringList found;
    if (sqlite3_prepare_v2(db.get(), "PRAGMA integrity_check", -1, &statement, nullptr) ==
        SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            found.append(QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
        }
    }
    if (sqlite3_finalize(statement) != SQLITE_OK) {
        return QString::fromUtf8(sqlite3_errmsg(db.get()));
    }
    return found.join(u"; "_s);
}

int lostSightings(const ListState& before, const ListState& after, const ListState& found) {
    int lost = 0;
    const QMap<qint64, QByteArray>& done = after.sightings();
    const QMap<qint64, QByteArray>& now = found.sightings();
    for (auto row = before.sightings().cbegin(); row != before.sightings().cend(); ++row) {
        const auto there = now.constFind(row.key());
        const auto meant = done.constFind(row.key());
        if (there == now.cend()) {
            lost += meant != done.cend() ? 1 : 0;  // gone, and the operation keeps it
        } else if (*there != *row && (meant == done.cend() || *there != *meant)) {
            ++lost;
        }
    }
    return lost;
}

int valuesWithNul(const ListState& state) {
    int found = 0;
    for (const QMap<qint64, QByteArray>& rows : state.tables) {
        for (const QByteArray& row : rows) {
            // Each value: its type digit, then for a value its size, a colon and its bytes.
            for (qsizetype at = 0; at < row.size();) {
                const char type = row.at(at++);
                if (type != '0' + SQLITE_NULL) {
                    const qsizetype colon = row.indexOf(':', at);
                    const qsizetype size = row.mid(at, colon - at).toLongLong();
                    found += type == '0' + SQLITE_TEXT && row.mid(colon + 1, size).contains('\0')
                                 ? 1
                                 : 0;
                    at = colon + 1 + size;
                }
                ++at;  // the separator
            }
        }
    }
    return found;
}
