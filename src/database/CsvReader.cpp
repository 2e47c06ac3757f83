#include "database/CsvReader.h"

QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> rows;
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
            rows.append(row);
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
                field += ch;
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
            field += ch;
            fieldStarted = true;
        }
    }
    endRow();
    return rows;
}
