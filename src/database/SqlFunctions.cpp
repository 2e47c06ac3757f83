#include "database/SqlFunctions.h"

#include "database/LikePattern.h"

#include <sqlite3.h>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

namespace {

QString textOf(sqlite3_value* value) {
    const auto* data = static_cast<const char16_t*>(sqlite3_value_text16(value));
    const int bytes = sqlite3_value_bytes16(value);
    return QString::fromUtf16(data, bytes / 2);
}

void resultText(sqlite3_context* context, const QString& text) {
    sqlite3_result_text16(context, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

void foldFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    resultText(context, foldCase(textOf(argv[0])));
}

void deletePattern(void* pattern) {
    delete static_cast<LikePattern*>(pattern);
}

void likeFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    if (auto* cached = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0))) {
        sqlite3_result_int(context, cached->matches(textOf(argv[1])) ? 1 : 0);
        return;
    }
    auto* pattern = new LikePattern(textOf(argv[0]));
    sqlite3_result_int(context, pattern->matches(textOf(argv[1])) ? 1 : 0);
    // Kept for the next rows of the statement; SQLite may free it at once.
    sqlite3_set_auxdata(context, 0, pattern, deletePattern);
}

}  // namespace

sqlite3* engineHandle(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool registerSqlFunctions(QSqlDatabase& db) {
    sqlite3* connection = engineHandle(db);
    if (!connection) {
        return false;
    }
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    return sqlite3_create_function_v2(connection, "plovix_fold", 1, flags, nullptr, foldFunction,
                                      nullptr, nullptr, nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(connection, "plovix_like", 2, flags, nullptr, likeFunction,
                                      nullptr, nullptr, nullptr) == SQLITE_OK;
}
