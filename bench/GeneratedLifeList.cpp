#include "GeneratedLifeList.h"

#include "database/CsvReader.h"
#include "database/Database.h"
#include "database/NewLifeList.h"
#include "images/ImageLinks.h"

#include <QSqlQuery>
#include <random>

namespace generated {

namespace {

constexpr std::uint32_t kSeed = 20261206;

const QStringList kPlaceNames = {"Willow",    "Heron", "Black",    "Cedar",     "Mill",   "North",
                                 "Otter",     "Salt",  "Kestrel",  "Fern",      "Osprey", "Granite",
                                 "Reed",      "Swan",  "Birch",    "Crane",     "Marten", "Rowan",
                                 "Moor",      "Alder", "Lynx",     "Pelican",   "Sable",  "Ibis",
                                 "Cormorant", "Peña",  "Mirador",  "São Jorge", "Lac",    "Kruger",
                                 "Okavango",  "Manú",  "Daintree", "Doñana"};
const QStringList kPlaceKinds = {"Marsh", "Ridge", "Lake",  "Point", "Forest", "Bay",   "Reserve",
                                 "Creek", "Hills", "Delta", "Park",  "Fields", "Coast", "Valley"};
const QStringList kPhrases = {"Seen at dawn from the hide.",
                              "A pair feeding along the water's edge, calling now and then.",
                              "Heard first, then seen well in the scope for several minutes.",
                              "Flushed from the reeds; brief but clear views of the wing bars.",
                              "Small flock moving through the canopy with warblers and tits.",
                              "Photographed from the boat, light rain, café con leche afterwards.",
                              "Confirmed by the guide, Señor Núñez, who knew its song.",
                              "Juvenile plumage, streaked breast, pale supercilium.",
                              "Soaring high over the ridge on the afternoon thermals.",
                              "Singing from an exposed perch at the edge of the clearing."};
const QStringList kMonths = {"January", "February", "March",     "April",   "May",      "June",
                             "July",    "August",   "September", "October", "November", "December"};

struct Country {
    QString name;
    QString region;
};

// Draws the fields of one sighting after another.
class Draw {
public:
    explicit Draw(const QList<Country>& countries, int sightings)
        : m_countries(countries), m_places(std::max(60, sightings / 8)) {}

    int below(int n) { return int(m_random() % std::uint32_t(n)); }
    bool chance(int percent) { return below(100) < percent; }

    // Most sightings are made in a dozen countries, the rest anywhere in the world.
    const Country& country(int sighting) {
        if (sighting % 10 == 0) {
            return *m_tenth;
        }
        const Country* pick = nullptr;
        do {
            pick = &m_countries[chance(60) ? below(12) * 17 % m_countries.size()
                                           : below(m_countries.size())];
        } while (pick == m_tenth);
        return *pick;
    }

    QString place() {
        const int k = below(m_places);
        const qsizetype names = kPlaceNames.size();
        const qsizetype kinds = kPlaceKinds.size();
        QString name = kPlaceNames[k % names] + u' ' + kPlaceKinds[(k / names) % kinds];
        if (k >= names * kinds) {
            name += u' ' + QString::number(k / (names * kinds) + 1);
        }
        return name;
    }

    QString comments() {
        QStringList sentences;
        for (int n = 1 + below(4); n > 0; --n) {
            sentences.append(kPhrases[below(kPhrases.size())]);
        }
        return sentences.join(u' ');
    }

    QString additional(const Country& country) {
        QStringList lines;
        for (int n = 1 + below(5); n > 0; --n) {
            lines.append(QStringLiteral("%1-%2-%3, %4, %5")
                             .arg(1990 + below(37))
                             .arg(1 + below(12), 2, 10, QLatin1Char('0'))
                             .arg(1 + below(28), 2, 10, QLatin1Char('0'))
                             .arg(place(), country.name));
        }
        return lines.join(QStringLiteral("\r\n"));
    }

    QString images(const QString& species) {
        QStringList paths;
        QString file = species.toLower();
        file.replace(u' ', u'_');
        for (int n = 1 + below(3); n > 0; --n) {
            paths.append(
                QStringLiteral("/home/birder/Pictures/%1_%2.jpg").arg(file).arg(below(90)));
        }
        return links::write(paths);
    }

    void setTenth(const Country* country) { m_tenth = country; }

private:
    std::mt19937 m_random{kSeed};
    const QList<Country>& m_countries;
    const Country* m_tenth = nullptr;
    int m_places;
};

QVariant orNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// Writes the sightings in one transaction, in place of the starter record.
DbError fill(Database& db, int sightings, const QList<QStringList>& species,
             const QList<Country>& countries, const Country* tenth) {
    QSqlDatabase sql = db.sql();
    sql.transaction();
    if (DbError error = db.execute(QStringLiteral("DELETE FROM \"Bird List\""))) {
        return error;
    }
    QSqlQuery insert(sql);
    insert.prepare(QStringLiteral(
        "INSERT INTO \"Bird List\" (CommonName, AlternateName, \"Order\", Family, Species, "
        "Location, Country, Region, Month, Year, Comments, Additional, Images) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    Draw draw(countries, sightings);
    draw.setTenth(tenth);
    for (int i = 0; i < sightings; ++i) {
        const QStringList& bird = species[i % species.size()];
        const Country& country = draw.country(i);
        const QString common = bird.value(0);
        const QVariantList values = {
            common,
            orNull(draw.chance(15) ? common.section(u' ', -1) + QStringLiteral(" (local name)")
                                   : QString()),
            bird.value(2),
            bird.value(3),
            bird.value(1),
            draw.place(),
            country.name,
            country.region,
            orNull(draw.chance(90) ? kMonths[draw.below(12)] : QString()),
            orNull(draw.chance(95) ? QString::number(1970 + draw.below(57)) : QString()),
            orNull(draw.chance(70) ? draw.comments() : QString()),
            orNull(draw.chance(30) ? draw.additional(country) : QString()),
            orNull(draw.chance(10) ? draw.images(common) : QString())};
        for (int f = 0; f < values.size(); ++f) {
            insert.bindValue(f, values[f]);
        }
        if (!insert.exec()) {
            return DbError::fromSql(insert.lastError());
        }
    }
    insert.finish();
    return sql.commit() ? DbError() : DbError::fromSql(sql.lastError());
}

}  // namespace

DbError writeLifeList(const QString& path, int sightings, const QString& dataDir) {
    const QList<QStringList> species = readCsvFile(dataDir + QStringLiteral("/species.csv"));
    QList<Country> countries;
    for (const QStringList& row : readCsvFile(dataDir + QStringLiteral("/countries.csv"))) {
        countries.append({row.value(0), row.value(2)});
    }
    const auto tenth = std::find_if(countries.cbegin(), countries.cend(), [](const Country& c) {
        return c.name == QLatin1String(kTenthCountry);
    });
    if (species.isEmpty() || tenth == countries.cend()) {
        return {DbError::FileNotFound, QStringLiteral("%1 holds no checklist or no %2")
                                           .arg(dataDir, QLatin1String(kTenthCountry))};
    }
    if (DbError error = createNewLifeList(path)) {
        return error;
    }
    DbError error;
    const std::unique_ptr<Database> db = Database::open(path, error);
    if (!db) {
        return error;
    }
    error = fill(*db, sightings, species, countries, &*tenth);
    db->close();
    return error;
}

}  // namespace generated
