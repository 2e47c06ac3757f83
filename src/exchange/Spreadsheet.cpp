#include "exchange/Spreadsheet.h"

#include "database/Schema.h"
#include "database/TextRows.h"

namespace spreadsheet {

QByteArray csvField(const QString& value) {
    QByteArray bytes = value.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
        bytes.contains('\r')) {
        bytes.replace("\"", "\"\"");
        bytes.prepend('"');
        bytes.append('"');
    }
    return bytes;
}

DbError lifeListCsv(Database& db, QByteArray& csv) {
    QStringList fields{field::Number};
    fields += lifelist::birdListFields();
    QStringList quoted;
    for (const QString& name : fields) {
        quoted.append(QLatin1Char('"') + name + QLatin1Char('"'));
    }
    QStringList columns;
    QList<QStringList> rows;
    if (DbError error = readTextRows(db,
                                     QStringLiteral("SELECT %1 FROM \"Bird List\" ORDER BY Number")
                                         .arg(quoted.join(QLatin1String(", "))),
                                     columns, rows)) {
        return error;
    }
    csv = QByteArrayLiteral("\xEF\xBB\xBF");
    csv += fields.join(u',').toUtf8() + "\r\n";
    for (const QStringList& row : std::as_const(rows)) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0) {
                csv += ',';
            }
            csv += csvField(row[i]);
        }
        csv += "\r\n";
    }
    return {};
}

std::optional<ImportPlan> planImport(const CsvInput& input, const ListedSpecies& listed,
                                     QString& error) {
    QList<int> at;  // for each field, its column in the file or -1
    ImportPlan plan;
    const auto heading = [&at](const QStringList& row, QString& problem) {
        for (const QString& name : lifelist::birdListFields()) {
            at.append(columnNamed(row, name));
        }
        if (at[planField::CommonName] < 0) {
            problem = missingColumn(field::CommonName, QStringLiteral("a Plovix spreadsheet"));
            return false;
        }
        return true;
    };
    const auto take = [&](const QStringList& row, int line, QString&) {
        QStringList record;
        for (int column : std::as_const(at)) {
            record.append(column >= 0 ? row.value(column) : QString());
        }
        if (record[planField::CommonName].trimmed().isEmpty()) {
            ++plan.notCounted;
            plan.notCountedNames.append(QStringLiteral("Row %1 (no CommonName)").arg(line));
            return true;
        }
        if (listed.has(record[planField::CommonName], record[planField::Species])) {
            ++plan.alreadyListed;
            return true;
        }
        fitToFields(record,
                    QStringLiteral("Row %1 (%2)").arg(line).arg(record[planField::CommonName]),
                    plan.shortened);
        plan.records.append(record);
        return true;
    };
    if (!readHeadedCsv(input, error, heading, take)) {
        return std::nullopt;
    }
    return plan;
}

}  // namespace spreadsheet
