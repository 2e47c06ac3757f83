#include "exchange/EBirdImport.h"

#include "checklist/Checklist.h"
#include "database/Schema.h"
#include "exchange/EBirdDate.h"

#include <QHash>
#include <QLocale>
#include <algorithm>

namespace {

enum Column { Common, Scientific, State, Location, Date, Time, Details, ColumnCount };

// Each column's heading, and the one older downloads give it instead.
constexpr const char* kColumnNames[ColumnCount][2] = {{"Common Name", nullptr},
                                                      {"Scientific Name", nullptr},
                                                      {"State/Province", "S/P"},
                                                      {"Location", nullptr},
                                                      {"Date", nullptr},
                                                      {"Time", nullptr},
                                                      {"Observation Details", "Species Comments"}};

using Row = EBirdSightings::Row;

// One species of the plan and its rows, earliest first once sorted.
struct SpeciesRows {
    QString english;
    QString scientific;
    QString order;
    QString family;
    QList<qint32> taxa;  // in EBirdSightings::taxa()
    QList<qint32> rows;  // in EBirdSightings::rows()
};

// The places and states of the sightings as the further sightings show them, each worked out
// once however many rows name it.
class PlaceNames {
public:
    explicit PlaceNames(const EBirdSightings& file) : m_file(file) {}

    const QString& location(qint32 id) { return shown(id, true).text; }
    qsizetype lineLength(const Row& row) {
        // "YYYY-MM-DD, Location, State"
        return 14 + shown(row.location, true).length + shown(row.state, false).length;
    }
    QString line(const Row& row) {
        return QStringLiteral("%1, %2, %3")
            .arg(row.date().toString(Qt::ISODate), shown(row.location, true).text,
                 shown(row.state, false).text);
    }

private:
    struct Shown {
        QString text;
        qsizetype length = -1;  // in characters; -1 until worked out
    };

    // A location with its runs of white space made one space; a state trimmed.
    const Shown& shown(qint32 id, bool isLocation) {
        Shown& one = (isLocation ? m_locations : m_states)[id];
        if (one.length < 0) {
            one.text = isLocation ? m_file.text(id).simplified() : m_file.text(id).trimmed();
            one.length = characterCount(one.text);
        }
        return one;
    }

    const EBirdSightings& m_file;
    QHash<qint32, Shown> m_locations;
    QHash<qint32, Shown> m_states;
};

// The later sightings, oldest first, as many as the field takes; a last line says how many did
// not fit. `rows` are the species' rows, earliest first.
QString laterSightings(const EBirdSightings& file, const QList<qint32>& rows, PlaceNames& places) {
    qsizetype length = -1;  // of the lines listed, joined by line ends
    qsizetype listed = 0;
    while (listed + 1 < rows.size()) {
        const qsizetype next = length + 1 + places.lineLength(file.rows()[rows[listed + 1]]);
        if (next > kLongTextLimit) {
            break;
        }
        length = next;
        ++listed;
    }
    qsizetype left = rows.size() - 1 - listed;
    const auto note = [&left] {
        return left == 1 ? QStringLiteral("1 more sighting not listed")
                         : QStringLiteral("%1 more sightings not listed").arg(left);
    };
    while (left > 0 && listed > 0 && length + 1 + note().size() > kLongTextLimit) {
        length -= places.lineLength(file.rows()[rows[listed]]) + 1;
        --listed;
        ++left;
    }
    QStringList lines;
    for (qsizetype i = 1; i <= listed; ++i) {
        lines.append(places.line(file.rows()[rows[i]]));
    }
    if (left > 0) {
        lines.append(note());
    }
    return lines.join(u'\n');
}

}  // namespace

std::optional<EBirdSightings> readEBirdFile(const CsvInput& input, QString& error) {
    EBirdSightings file;
    int at[ColumnCount];
    const auto heading = [&at](const QStringList& row, QString& problem) {
        for (int column = 0; column < ColumnCount; ++column) {
            const auto [name, older] = kColumnNames[column];
            at[column] = columnNamed(row, QLatin1String(name));
            if (at[column] < 0 && older) {
                at[column] = columnNamed(row, QLatin1String(older));
            }
            if (at[column] < 0 && (column == Common || column == Scientific || column == Date)) {
                problem = missingColumn(QLatin1String(name), QStringLiteral("eBird data"));
                return false;
            }
        }
        return true;
    };
    const auto take = [&](const QStringList& row, int line, QString& problem) {
        const auto value = [&](Column column) {
            return at[column] >= 0 ? row.value(at[column]) : QString();
        };
        const EBirdRow sighting{value(Common).trimmed(),
                                value(Scientific).trimmed(),
                                value(State),
                                value(Location),
                                value(Details).trimmed(),
                                ebird::dateOf(value(Date)),
                                ebird::minutesOf(value(Time)),
                                line};
        if (sighting.common.isEmpty() && sighting.scientific.isEmpty()) {
            return true;
        }
        if (!sighting.date.isValid()) {
            file.addUndated(sighting.common.isEmpty() ? sighting.scientific : sighting.common, line,
                            value(Date));
            return true;
        }
        if (!file.add(sighting)) {
            problem =
                QStringLiteral(
                    "The file names more than %1 different birds, more than eBird "
                    "knows, so it cannot be read as eBird data.")
                    .arg(QLocale(QLocale::English).toString(qint64(EBirdSightings::kMostTaxa)));
            return false;
        }
        return true;
    };
    if (!readHeadedCsv(input, error, heading, take)) {
        return std::nullopt;
    }
    return file;
}

ImportPlan planEBirdImport(const EBirdSightings& file, const Checklist* checklist,
                           const QList<ShippedData::Country>& countries,
                           const ListedSpecies& listed) {
    ImportPlan plan;
    plan.undated = file.undatedCount();
    plan.undatedRows = file.listedUndated();
    QMap<QString, qint64> notSpecies;     // name: rows
    QHash<QString, qsizetype> speciesOf;  // binomial or English name: index in `species`
    QList<SpeciesRows> species;
    QList<qsizetype> speciesOfTaxon(file.taxa().size(), -1);
    for (qsizetype t = 0; t < file.taxa().size(); ++t) {
        const EBirdSightings::Taxon& taxon = file.taxa()[t];
        if (!taxon.name.isSpecies()) {
            notSpecies[taxon.common.isEmpty() ? taxon.scientific : taxon.common] += taxon.rows;
            plan.notCounted += taxon.rows;
            continue;
        }
        auto known = speciesOf.constFind(taxon.name.binomial);
        if (known == speciesOf.constEnd()) {
            // The checklist's names where it has the species; two eBird names of one checklist
            // species make one record.
            SpeciesRows found{taxon.name.english, taxon.name.binomial, {}, {}, {}, {}};
            std::optional<qsizetype> entry;
            if (checklist) {
                entry = checklist->find(Checklist::Names::Scientific, taxon.name.binomial);
                if (!entry) {
                    entry = checklist->find(Checklist::Names::English, taxon.name.english);
                }
            }
            if (entry) {
                const ChecklistSpecies& named = checklist->at(*entry);
                found = {named.english, named.scientific, named.order, named.family, {}, {}};
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
            known = speciesOf.insert(taxon.name.binomial, index);
        }
        species[*known].taxa.append(qint32(t));
        speciesOfTaxon[t] = *known;
    }
    for (auto name = notSpecies.cbegin(); name != notSpecies.cend(); ++name) {
        plan.notCountedNames.append(
            name.value() == 1
                ? name.key()
                : QStringLiteral("%1 (%2 rows)").arg(name.key(), QString::number(*name)));
    }
    for (qsizetype r = 0; r < file.rows().size(); ++r) {
        species[speciesOfTaxon[file.rows()[r].taxon]].rows.append(qint32(r));
    }

    QHash<QString, const ShippedData::Country*> byCode;
    for (const ShippedData::Country& country : countries) {
        byCode.insert(country.code.toUpper(), &country);
    }
    const auto earlier = [&file](qint32 a, qint32 b) {
        return EBirdSightings::earlier(file.rows()[a], file.rows()[b]);
    };
    QList<SpeciesRows*> added;
    for (SpeciesRows& one : species) {
        std::sort(one.rows.begin(), one.rows.end(), earlier);
        bool listedAlready = listed.has(one.english, one.scientific);
        for (qint32 t : std::as_const(one.taxa)) {
            listedAlready = listedAlready || listed.has(file.taxa()[t].common, {});
        }
        if (listedAlready) {
            ++plan.alreadyListed;
        } else {
            added.append(&one);
        }
    }
    // The life list grows in the order the species were first seen.
    std::stable_sort(added.begin(), added.end(), [&](const SpeciesRows* a, const SpeciesRows* b) {
        return earlier(a->rows.first(), b->rows.first());
    });
    const QLocale english(QLocale::English);
    PlaceNames places(file);
    for (const SpeciesRows* one : std::as_const(added)) {
        const Row& first = file.rows()[one->rows.first()];
        // A species' earliest row is the earliest of its taxon, whose details are kept.
        const QString& details = file.taxa()[first.taxon].details;
        const ShippedData::Country* country =
            byCode.value(file.text(first.state).section(u'-', 0, 0).trimmed().toUpper());
        QStringList record(planField::Count);
        record[planField::CommonName] = one->english;
        record[planField::Order] = one->order;
        record[planField::Family] = one->family;
        record[planField::Species] = one->scientific;
        record[planField::Location] = places.location(first.location);
        record[planField::Country] = country ? country->name : QString();
        record[planField::Region] = country ? country->region : QString();
        record[planField::Month] = english.monthName(first.date().month());
        record[planField::Year] = QString::number(first.date().year());
        record[planField::Comments] = details;
        record[planField::Additional] = laterSightings(file, one->rows, places);
        const QString fullLocation = record[planField::Location];
        if (fitToFields(record, one->english, plan.shortened).contains(field::Location)) {
            // The whole place name is kept with the comments.
            QString comments = QStringLiteral("Location: ") + fullLocation;
            if (!details.isEmpty()) {
                comments += u'\n' + details;
            }
            record[planField::Comments] = cutToLength(comments, kLongTextLimit);
        }
        plan.records.append(record);
    }
    return plan;
}
