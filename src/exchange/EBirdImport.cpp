#include "exchange/EBirdImport.h"

#include "app/MValidation.h"
#include "checklist/Checklist.h"
#include "exchange/TaxonName.h"

#include <QHash>
#include <QLocale>
#include <algorithm>

namespace {

enum Column { Common, Scientific, State, Location, Date, Time, Details, ColumnCount };

constexpr const char* kColumnNames[ColumnCount] = {
    "Common Name", "Scientific Name",    "State/Province", "Location", "Date",
    "Time",        "Observation Details"};

// "07:35 AM", "19:05": minutes after midnight; -1 when there is no such time.
int minutesOf(QStringView text) {
    text = text.trimmed();
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1) {
        return -1;
    }
    bool hoursOk = false;
    bool minutesOk = false;
    int hours = text.first(colon).toInt(&hoursOk);
    const int minutes =
        text.sliced(colon + 1, std::min<qsizetype>(2, text.size() - colon - 1)).toInt(&minutesOk);
    // Out of a day's range it is no time (and "99999999:00" would overflow the minutes).
    if (!hoursOk || !minutesOk || hours < 0 || hours > 23 || minutes < 0 || minutes > 59) {
        return -1;
    }
    if (text.endsWith(QLatin1String("PM"), Qt::CaseInsensitive) && hours < 12) {
        hours += 12;
    } else if (text.endsWith(QLatin1String("AM"), Qt::CaseInsensitive) && hours == 12) {
        hours = 0;
    }
    return hours * 60 + minutes;
}

// One species of the plan and its rows, earliest first once sorted.
struct SpeciesRows {
    QString english;
    QString scientific;
    QString order;
    QString family;
    QList<const EBirdRow*> rows;
};

bool earlier(const EBirdRow* a, const EBirdRow* b) {
    if (a->date != b->date) {
        return a->date < b->date;
    }
    if (a->minutes != b->minutes) {
        return a->minutes < b->minutes;
    }
    return a->line < b->line;
}

QString sightingLine(const EBirdRow& row) {
    return QStringLiteral("%1, %2, %3")
        .arg(row.date.toString(Qt::ISODate), row.location.simplified(), row.state.trimmed());
}

// The later sightings, newest last, as many as the field takes; a last line says how many did
// not fit.
QString laterSightings(const QList<const EBirdRow*>& rows) {
    QStringList lines;
    qsizetype length = 0;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        lines.append(sightingLine(*rows[i]));
        length += lines.last().size() + (lines.size() > 1 ? 1 : 0);
    }
    qsizetype left = 0;
    const auto note = [&left] {
        return left == 1 ? QStringLiteral("1 more sighting not listed")
                         : QStringLiteral("%1 more sightings not listed").arg(left);
    };
    while (length > kLongTextLimit || (left > 0 && length + 1 + note().size() > kLongTextLimit)) {
        length -= lines.last().size() + (lines.size() > 1 ? 1 : 0);
        lines.removeLast();
        ++left;
    }
    if (left > 0) {
        lines.append(note());
    }
    return lines.join(u'\n');
}

}  // namespace

std::optional<EBirdFile> readEBirdFile(const QString& text, QString& error) {
    EBirdFile file;
    int at[ColumnCount];
    const auto heading = [&at](const QStringList& row, QString& problem) {
        for (int column = 0; column < ColumnCount; ++column) {
            at[column] = columnNamed(row, QLatin1String(kColumnNames[column]));
            if (at[column] < 0 && (column == Common || column == Scientific || column == Date)) {
                problem = missingColumn(QLatin1String(kColumnNames[column]),
                                        QStringLiteral("eBird data"));
                return false;
            }
        }
        return true;
    };
    const auto take = [&](const QStringList& row, int line) {
        const auto value = [&](Column column) {
            return at[column] >= 0 ? row.value(at[column]) : QString();
        };
        EBirdRow sighting{value(Common).trimmed(),
                          value(Scientific).trimmed(),
                          value(State),
                          value(Location),
                          value(Details).trimmed(),
                          QDate::fromString(value(Date).trimmed(), Qt::ISODate),
                          minutesOf(value(Time)),
                          line};
        if (sighting.common.isEmpty() && sighting.scientific.isEmpty()) {
            return;
        }
        if (!sighting.date.isValid()) {
            file.undated.append(QStringLiteral("%1 (row %2: no date read from \"%3\")")
                                    .arg(sighting.common)
                                    .arg(line)
                                    .arg(value(Date)));
            return;
        }
        file.rows.append(std::move(sighting));
    };
    if (!readHeadedCsv(text, error, heading, take)) {
        return std::nullopt;
    }
    return file;
}

ImportPlan planEBirdImport(const EBirdFile& file, const Checklist* checklist,
                           const QList<ShippedData::Country>& countries,
                           const ListedSpecies& listed) {
    ImportPlan plan;
    plan.notCounted = int(file.undated.size());
    QMap<QString, int> notSpecies;        // name: rows
    QHash<QString, TaxonName> taxa;       // by "common|scientific"
    QHash<QString, qsizetype> speciesOf;  // binomial or English name: index in `species`
    QList<SpeciesRows> species;
    for (const EBirdRow& row : file.rows) {
        const QString taxonKey = row.common + u'|' + row.scientific;
        auto taxon = taxa.constFind(taxonKey);
        if (taxon == taxa.constEnd()) {
            taxon = taxa.insert(taxonKey, taxonName(row.common, row.scientific));
        }
        if (!taxon->isSpecies()) {
            ++notSpecies[row.common.isEmpty() ? row.scientific : row.common];
            ++plan.notCounted;
            continue;
        }
        auto known = speciesOf.constFind(taxon->binomial);
        if (known == speciesOf.constEnd()) {
            // The checklist's names where it has the species; two eBird names of one checklist
            // species make one record.
            SpeciesRows found{taxon->english, taxon->binomial, {}, {}, {}};
            std::optional<qsizetype> entry;
            if (checklist) {
                entry = checklist->find(Checklist::Names::Scientific, taxon->binomial);
                if (!entry) {
                    entry = checklist->find(Checklist::Names::English, taxon->english);
                }
            }
            if (entry) {
                const ChecklistSpecies& named = checklist->at(*entry);
                found = {named.english, named.scientific, named.order, named.family, {}};
            }
            const QString speciesKey = found.scientific.toCaseFolded();
            auto same = speciesOf.constFind(speciesKey);
            qsizetype index = 0;
            if (same != speciesOf.constEnd()) {
                index = *same;
            } else {
                index = species.size();
                species.append(found);
                speciesOf.insert(speciesKey, index);
            }
            known = speciesOf.insert(taxon->binomial, index);
        }
        species[*known].rows.append(&row);
    }
    for (auto name = notSpecies.cbegin(); name != notSpecies.cend(); ++name) {
        plan.notCountedNames.append(
            name.value() == 1 ? name.key()
                              : QStringLiteral("%1 (%2 rows)").arg(name.key()).arg(*name));
    }
    plan.notCountedNames += file.undated;

    QHash<QString, const ShippedData::Country*> byCode;
    for (const ShippedData::Country& country : countries) {
        byCode.insert(country.code.toUpper(), &country);
    }
    QList<SpeciesRows*> added;
    for (SpeciesRows& one : species) {
        std::sort(one.rows.begin(), one.rows.end(), earlier);
        bool listedAlready = listed.has(one.english, one.scientific);
        for (const EBirdRow* row : std::as_const(one.rows)) {
            listedAlready = listedAlready || listed.has(row->common, {});
        }
        if (listedAlready) {
            ++plan.alreadyListed;
        } else {
            added.append(&one);
        }
    }
    // The life list grows in the order the species were first seen.
    std::stable_sort(added.begin(), added.end(), [](const SpeciesRows* a, const SpeciesRows* b) {
        return earlier(a->rows.first(), b->rows.first());
    });
    const QLocale english(QLocale::English);
    for (const SpeciesRows* one : std::as_const(added)) {
        const EBirdRow& first = *one->rows.first();
        const ShippedData::Country* country =
            byCode.value(first.state.section(u'-', 0, 0).trimmed().toUpper());
        QStringList record(field::Count);
        record[field::CommonName] = one->english;
        record[field::Order] = one->order;
        record[field::Family] = one->family;
        record[field::Species] = one->scientific;
        record[field::Location] = first.location.simplified();
        record[field::Country] = country ? country->name : QString();
        record[field::Region] = country ? country->region : QString();
        record[field::Month] = english.monthName(first.date.month());
        record[field::Year] = QString::number(first.date.year());
        record[field::Comments] = first.details;
        record[field::Additional] = laterSightings(one->rows);
        const QString fullLocation = record[field::Location];
        if (fitToFields(record, one->english, plan.shortened).contains(QLatin1String("Location"))) {
            // The whole place name is kept with the comments.
            QString comments = QStringLiteral("Location: ") + fullLocation;
            if (!first.details.isEmpty()) {
                comments += u'\n' + first.details;
            }
            record[field::Comments] = cutToLength(comments, kLongTextLimit);
        }
        plan.records.append(record);
    }
    return plan;
}
