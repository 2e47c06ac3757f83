#include "database/ShippedData.h"

#include "database/CsvReader.h"

namespace {

QStringList firstColumn(const QString& path) {
    QStringList values;
    for (const QStringList& row : readCsvFile(path)) {
        if (!row.isEmpty() && !row[0].trimmed().isEmpty()) {
            values.append(row[0].trimmed());
        }
    }
    return values;
}

}  // namespace

ShippedData ShippedData::load() {
    return loadFrom(QStringLiteral(":/data"));
}

ShippedData ShippedData::loadFrom(const QString& folder) {
    ShippedData data;
    data.orders = firstColumn(folder + QStringLiteral("/orders.csv"));
    for (const QStringList& row : readCsvFile(folder + QStringLiteral("/families.csv"))) {
        if (row.size() >= 2 && !row[0].trimmed().isEmpty()) {
            data.families.append({row[0].trimmed(), row[1].trimmed()});
        }
    }
    for (const QStringList& row : readCsvFile(folder + QStringLiteral("/countries.csv"))) {
        if (!row.isEmpty() && !row[0].trimmed().isEmpty()) {
            data.countries.append(row[0].trimmed());
            if (row.size() >= 3) {
                data.countryCodes.append({row[0].trimmed(), row[1].trimmed(), row[2].trimmed()});
            }
        }
    }
    data.regions = firstColumn(folder + QStringLiteral("/regions.csv"));
    return data;
}
