#pragma once

#include <QSqlError>
#include <QString>

// A failure of the database engine, as a value: a number and a description. A default
// DbError means success.
struct DbError {
    int number = 0;
    QString description;

    explicit operator bool() const { return number != 0; }
    bool isOk() const { return number == 0; }

    // Engine error numbers the program tells apart.
    enum : int {
        UpdateWithoutEdit = 3020,
        NoCurrentRecord = 3021,
        FileNotFound = 3024,
        DiskFull = 3026,
        ReadOnly = 3027,
        CannotOpen = 3049,
        CannotFindTable = 3078,
        InvalidBookmark = 3159,
        RecordDeleted = 3167,
        Locked = 3218,
        NotSupported = 3251,
        FieldNotFound = 3265,
        NotADatabase = 3343,
        ObjectClosed = 3420,
        Cancelled = 3426,
        General = 3000,
    };

    static DbError make(int number, const QString& description) { return {number, description}; }
    static DbError noCurrentRecord();
    static DbError objectClosed();
    static DbError recordDeleted();
    static DbError updateWithoutEdit();
    // A check refused the action and has told the user why.
    static DbError cancelled();
    static DbError fileNotFound(const QString& path);
    // Translates an error of the SQL layer into the engine's numbers.
    static DbError fromSql(const QSqlError& error);
};
