#include "database/Salvage.h"

#include "database/Database.h"
#include "database/FileOps.h"
#include "database/PageScan.h"
#include "database/SalvageSource.h"
#include "database/SalvageTarget.h"
#include "database/Schema.h"
#include "database/ShippedData.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

using salvage::RowSink;
using salvage::Source;
using salvage::SourceTable;
using salvage::Target;

// The file must at least be readable as a file: a list we cannot read is never salvaged into an
// empty one.
DbError checkReadable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return DbError::fileNotFound(path);
    }
    if (!info.isFile()) {
        return {fileops::PathFileAccessError,
                QStringLiteral("Cannot read '%1': it is not a file.").arg(path)};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {fileops::PathFileAccessError,
                QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString())};
    }
    char header[100];
    if (file.read(header, sizeof header) < 0) {
        return {fileops::PathFileAccessError,
                QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString())};
    }
    return {};
}

// A value as it is saved: a text that is not whole (NUL characters where the file was cut off,
// characters that could not be decoded) is left empty, so that the rest of its row is kept.
QVariant savedValue(const QVariant& value) {
    if (value.typeId() != QMetaType::QString) {
        return value;
    }
    const QString text = value.toString();
    if (text.contains(QChar(0)) || text.contains(QChar::ReplacementCharacter)) {
        return {};
    }
    return value;
}

// Fills the new, empty life list in `db` (inside its transaction) from the source.
DbError copyLifeList(const Source& source, QSqlDatabase& db, const ShippedData& data,
                     SalvageReport& report) {
    if (DbError error = lifelist::createSchema(db)) {
        return error;
    }
    Target target(db);
    std::optional<qint64> highestNumber;
    QStringList emptyLookups;
    for (const lifelist::Table& table : lifelist::tables()) {
        const bool isBirdList = table.name == lifelist::kBirdList;
        int saved = 0;
        bool damaged = true;  // until its rows have been read
        const std::optional<SourceTable> found = source.find(table.name, table.fields);
        if (found || isBirdList) {
            if (DbError error = target.prepareInsert(table.name, table.fields, isBirdList)) {
                return error;
            }
        }
        QSet<qint64> numbers;  // of the sightings saved
        const RowSink sink = [&](qint64 rowid, const QVariantList& values) {
            if (isBirdList) {
                if (numbers.contains(rowid)) {
                    return DbError{};  // each Number once
                }
                numbers.insert(rowid);
                highestNumber = std::max(highestNumber.value_or(rowid), rowid);
            }
            ++saved;
            QVariantList saving;
            saving.reserve(values.size());
            for (const QVariant& value : values) {
                saving.append(savedValue(value));
            }
            return target.insert(rowid, saving);
        };
        if (found) {
            damaged = false;
            if (DbError error = source.readRows(*found, sink, damaged)) {
                return error;
            }
        }
        if (isBirdList && damaged) {
            // The table's pages could not all be reached through the table (its list of tables
            // or a page on the way to the sightings is lost): every page is searched for the
            // sightings not read yet.
            for (const ScannedRecord& record :
                 scanRecords(source.path(), 1 + table.fields.size())) {
                if (DbError error = sink(record.rowid, record.values)) {
                    return error;
                }
            }
            report.pagesScanned = true;
        }
        report.rowsSaved[table.name] = saved;
        if (damaged) {
            report.damagedTables.append(table.name);
        }
        if (!isBirdList && saved == 0) {
            emptyLookups.append(table.name);
        }
    }

    // No later sighting may get a Number that was ever stored, even one deleted since.
    DbError error;
    const std::optional<qint64> sequence = source.sequence(lifelist::kBirdList, error);
    if (error) {
        return error;
    }
    const qint64 highest = std::max(highestNumber.value_or(0), sequence.value_or(0));
    if (highest > 0) {
        if (DbError raised = target.raiseSequence(highest)) {
            return raised;
        }
    }

    if (!highestNumber) {
        if (DbError added = lifelist::addStarterRecord(db)) {
            return added;
        }
        report.starterRecordAdded = true;
    }
    if (!emptyLookups.isEmpty()) {
        if (DbError filled = lifelist::fillLookupTables(db, data, emptyLookups)) {
            return filled;
        }
        report.refilledTables = emptyLookups;
    }
    return {};
}

}  // namespace

DbError salvageLifeList(const QString& source, const QString& target, const ShippedData& data,
                        SalvageReport* report) {
    if (DbError error = checkReadable(source)) {
        return error;
    }
    if (fileops::exists(target)) {
        return {DbError::CannotOpen, QStringLiteral("The file '%1' already exists.").arg(target)};
    }
    Source reader(source);
    if (DbError error = reader.open()) {
        return error;
    }

    SalvageReport saved;
    DbError error;
    {
        std::unique_ptr<Database> database = Database::create(target, error);
        if (!database) {
            return error;
        }
        QSqlDatabase db = database->sql();
        if (!db.transaction()) {
            error = DbError::fromSql(db.lastError());
        } else {
            error = copyLifeList(reader, db, data, saved);
            if (error) {
                db.rollback();
            } else if (!db.commit()) {
                error = DbError::fromSql(db.lastError());
                db.rollback();
            }
        }
    }
    if (error) {
        fileops::removeFile(target);
        fileops::removeFile(target + QStringLiteral("-journal"));
        return error;
    }
    if (report) {
        *report = saved;
    }
    return {};
}
