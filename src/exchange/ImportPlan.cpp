#include "exchange/ImportPlan.h"

#include "database/Schema.h"
#include "database/TextRows.h"

#include <QLocale>

namespace {

QString key(const QString& name) {
    return name.simplified().toCaseFolded();
}

}  // namespace

QString ImportPlan::question() const {
    const int added = int(records.size());
    QString text = QStringLiteral("Add %1 species to your life list?\n\n").arg(added);
    text += QStringLiteral("New species: %1\n").arg(added);
    text += QStringLiteral("Already on your life list (left unchanged): %1\n").arg(alreadyListed);
    text += QStringLiteral("Rows not counted as species: %1").arg(notCounted);
    if (undated > 0) {
        text += QStringLiteral("\nRows left out because Plovix could not read the date: %1")
                    .arg(undated);
    }
    if (!shortened.isEmpty()) {
        text += QStringLiteral("\nValues shortened to fit their fields: %1").arg(shortened.size());
    }
    return text;
}

QString ImportPlan::details() const {
    QStringList parts;
    if (!notCountedNames.isEmpty()) {
        parts.append(QStringLiteral("Rows not counted as species:\n") +
                     notCountedNames.join(u'\n'));
    }
    if (undated > 0) {
        QString part = QStringLiteral("Rows left out because Plovix could not read the date:\n") +
                       undatedRows.join(u'\n');
        if (undated > undatedRows.size()) {
            part += QStringLiteral("\nand %1 more").arg(undated - undatedRows.size());
        }
        parts.append(part);
    }
    if (!shortened.isEmpty()) {
        parts.append(QStringLiteral("Values shortened to fit their fields:\n") +
                     shortened.join(u'\n'));
    }
    return parts.join(QStringLiteral("\n\n"));
}

DbError ListedSpecies::read(Database& db, ListedSpecies& listed) {
    QStringList columns;
    QList<QStringList> rows;
    if (DbError error = readTextRows(
            db, QStringLiteral("SELECT CommonName, Species FROM \"Bird List\""), columns, rows)) {
        return error;
    }
    for (const QStringList& row : rows) {
        listed.add(row.value(0), row.value(1));
    }
    return {};
}

bool ListedSpecies::has(const QString& english, const QString& scientific) const {
    return (!english.isEmpty() && m_names.contains(key(english))) ||
           (!scientific.isEmpty() && m_names.contains(key(scientific)));
}

void ListedSpecies::add(const QString& english, const QString& scientific) {
    for (const QString& name : {english, scientific}) {
        if (!name.trimmed().isEmpty()) {
            m_names.insert(key(name));
        }
    }
}

CsvInput csvText(const QString& text) {
    return [text](CsvStream& stream, QString&) {
        stream.addText(text);
        return true;
    };
}

bool readHeadedCsv(const CsvInput& input, QString& error,
                   const std::function<bool(const QStringList&, QString&)>& heading,
                   const std::function<bool(const QStringList&, int, QString&)>& take) {
    int line = 0;
    bool usable = true;
    CsvStream stream([&](const QStringList& row) {
        ++line;
        usable = line == 1 ? heading(row, error) : take(row, line, error);
        return usable;
    });
    if (!input(stream, error)) {
        return false;
    }
    stream.finish();
    if (stream.rowTooLong()) {
        error = QStringLiteral(
                    "Row %1 of the file is more than %2 characters long: the file is damaged, or a "
                    "quote in it is never closed.")
                    .arg(line + 1)
                    .arg(QLocale(QLocale::English).toString(qint64(CsvStream::kLongestRow)));
        return false;
    }
    if (line == 0) {
        error = QStringLiteral("The file is empty.");
    }
    return line > 0 && usable;
}

QString missingColumn(const QString& column, const QString& kind) {
    return QStringLiteral("The file has no \"%1\" column, so it cannot be read as %2.")
        .arg(column, kind);
}

int columnNamed(const QStringList& heading, const QString& name) {
    for (qsizetype i = 0; i < heading.size(); ++i) {
        if (heading[i].trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            return int(i);
        }
    }
    return -1;
}

qsizetype characterCount(QStringView text) {
    qsizetype count = text.size();
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate()) {
            --count;
            ++i;
        }
    }
    return count;
}

QString cutToLength(const QString& text, qsizetype limit) {
    if (text.size() <= limit) {
        return text;
    }
    qsizetype end = 0;
    for (qsizetype count = 0; count < limit && end < text.size(); ++count) {
        end += text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                       text.at(end + 1).isLowSurrogate()
                   ? 2
                   : 1;
    }
    return text.left(end);
}

QStringList fitToFields(QStringList& record, const QString& what, QStringList& shortened) {
    QStringList cut;
    const QStringList& names = lifelist::birdListFields();
    for (int i = 0; i < planField::Count && i < record.size(); ++i) {
        int limit = kShortTextLimit;
        if (i == planField::Comments || i == planField::Additional) {
            limit = kLongTextLimit;
        } else if (i == planField::Month || i == planField::Year || i == planField::Images) {
            continue;
        }
        if (characterCount(record[i]) > limit) {
            record[i] = cutToLength(record[i], limit);
            cut.append(names[i]);
            shortened.append(QStringLiteral("%1: %2").arg(what, names[i]));
        }
    }
    return cut;
}
