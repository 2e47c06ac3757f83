#include "database/CsvReader.h"

#include <QFile>

namespace {

// Appends the characters from `from` up to the next one that ends the run, all at once; returns
// the position of the run's last character.
template <typename EndsRun>
qsizetype appendRun(const QString& text, qsizetype from, QString& field, EndsRun endsRun) {
    qsizetype end = from + 1;
    while (end < text.size() && !endsRun(text[end])) {
        ++end;
    }
    field += QStringView(text).sliced(from, end - from);
    return end - 1;
}

}  // namespace

void forEachCsvRow(const QString& text, const std::function<void(const QStringList&)>& take) {
    QStringList row;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    auto endField = [&] {
        row.append(field);
        field.clear();
        fieldStarted = false;
    };
    auto endRow = [&] {
        if (fieldStarted || !row.isEmpty() || !field.isEmpty()) {
            endField();
            take(row);
        }
        row.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    field += ch;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                i = appendRun(text, i, field, [](QChar c) { return c == QLatin1Char('"'); });
            }
        } else if (ch == QLatin1Char('"')) {
            quoted = true;
            fieldStarted = true;
        } else if (ch == QLatin1Char(',')) {
            endField();
            fieldStarted = true;
        } else if (ch == QLatin1Char('\n')) {
            endRow();
        } else if (ch != QLatin1Char('\r')) {
            i = appendRun(text, i, field, [](QChar c) {
                return c == QLatin1Char(',') || c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
                       c == QLatin1Char('"');
            });
            fieldStarted = true;
        }
    }
    endRow();
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
