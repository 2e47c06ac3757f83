#include "database/NewLifeList.h"

#include "database/Database.h"
#include "database/FileOps.h"
#include "database/Schema.h"
#include "database/ShippedData.h"

namespace {

DbError build(Database& database, const ShippedData& data) {
    QSqlDatabase db = database.sql();
    if (!db.transaction()) {
        return DbError::fromSql(db.lastError());
    }
    DbError error = lifelist::createSchema(db);
    if (!error) {
        error = lifelist::fillLookupTables(db, data);
    }
    if (!error) {
        error = lifelist::addStarterRecord(db);
    }
    if (error) {
        db.rollback();
        return error;
    }
    return db.commit() ? DbError{} : DbError::fromSql(db.lastError());
}

}  // namespace

DbError createNewLifeList(const QString& path) {
    return createNewLifeList(path, ShippedData::load());
}

DbError createNewLifeList(const QString& path, const ShippedData& data) {
    if (fileops::exists(path)) {
        return {DbError::CannotOpen, QStringLiteral("The file '%1' already exists.").arg(path)};
    }
    // Built under a scratch name, so that a half-made list never carries the real name.
    const QString scratch = path + QStringLiteral(".new");
    fileops::removeFile(scratch);
    DbError error;
    {
        std::unique_ptr<Database> database = Database::create(scratch, error);
        if (database) {
            error = build(*database, data);
        }
    }
    if (!error) {
        error = fileops::syncFile(scratch);
    }
    if (!error) {
        error = fileops::renameNoReplace(scratch, path);
    }
    if (error) {
        fileops::removeFile(scratch);
    }
    return error;
}
