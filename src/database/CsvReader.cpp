#include "database/CsvReader.h"

#include "database/CsvStream.h"

#include <QFile>

void forEachCsvRow(const QString& text, const std::function<void(const QStringList&)>& take) {
    CsvStream stream(
        [&take](const QStringList& row) {
            take(row);
            return true;
        },
        text.size());
    stream.addText(text);
    stream.finish();
}

QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> rows;
    forEachCsvRow(text, [&rows](const QStringList& row) { rows.append(row); });
    return rows;
}

QList<QStringList> readCsvFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QStringList> rows = parseCsv(QString::fromUtf8(file.readAll()));
    if (!rows.isEmpty()) {
        rows.removeFirst();
    }
    return rows;
}
