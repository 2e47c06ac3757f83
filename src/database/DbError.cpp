#include "database/DbError.h"

#include <sqlite3.h>

DbError DbError::noCurrentRecord() {
    return {NoCurrentRecord, QStringLiteral("No current record.")};
}

DbError DbError::objectClosed() {
    return {ObjectClosed, QStringLiteral("Object invalid or no longer set.")};
}

DbError DbError::recordDeleted() {
    return {RecordDeleted, QStringLiteral("Record is deleted.")};
}

DbError DbError::cancelled() {
    return {Cancelled, QStringLiteral("This action was cancelled by an associated object.")};
}

DbError DbError::updateWithoutEdit() {
    return {UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit.")};
}

DbError DbError::fileNotFound(const QString& path) {
    return {FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path)};
}

DbError DbError::fromSql(const QSqlError& error) {
    QString text = error.databaseText();
    if (text.isEmpty()) {
        text = error.text();
    }
    if (text.isEmpty()) {
        text = QStringLiteral("Unknown database error.");
    }
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    if (!ok) {
        return {General, text};
    }
    switch (code) {
        case SQLITE_READONLY:
        case SQLITE_PERM:
            return {
                ReadOnly,
                QStringLiteral("Cannot update. Database or object is read-only. (%1)").arg(text)};
        case SQLITE_FULL:
            return {DiskFull, QStringLiteral("Not enough space on disk. (%1)").arg(text)};
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return {Locked, QStringLiteral("Could not update; currently locked. (%1)").arg(text)};
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return {NotADatabase,
                    QStringLiteral("The database file is damaged or is not a database. (%1)")
                        .arg(text)};
        case SQLITE_CANTOPEN:
            return {CannotOpen, QStringLiteral("Cannot open the database file. (%1)").arg(text)};
        default:
            return {General, text};
    }
}
