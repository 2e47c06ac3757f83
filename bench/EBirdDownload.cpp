#include "EBirdDownload.h"

#include "database/CsvReader.h"
#include "exchange/Spreadsheet.h"

#include <QDate>
#include <QFile>
#include <random>

namespace generated {

namespace {

constexpr std::uint32_t kSeed = 20261207;

// Regions a traveling birder visits, most of the sightings near home.
const QStringList kStates = {"US-NY", "US-NY",  "US-NY", "US-NJ", "US-PA",  "US-CA",  "US-AZ",
                             "US-TX", "US-FL",  "CA-ON", "CA-BC", "MX-OAX", "CR-P",   "PE-CUS",
                             "EC-P",  "GB-ENG", "ES-AN", "ZA-WC", "KE-30",  "AU-QLD", "IN-UT"};
const QStringList kPlaces = {"Central Park--The Ramble",
                             "Jamaica Bay Wildlife Refuge",
                             "Hawk Mountain Sanctuary--North Lookout, Berks County",
                             "Cape May Point State Park",
                             "Monteverde Cloud Forest Reserve",
                             "Manú Road--Cock-of-the-rock Lodge",
                             "Doñana--El Rocío",
                             "Kirstenbosch National Botanical Garden",
                             "Lake Naivasha",
                             "Lamington National Park--O'Reilly's"};
// Rows that name no single species.
const QStringList kOthers = {"gull sp.,Larinae sp.", "Greater/Lesser Scaup,Aythya marila/affinis",
                             "Mallard x American Black Duck (hybrid),Anas platyrhynchos x rubripes",
                             "Mallard (Domestic type),Anas platyrhynchos (Domestic type)",
                             "hummingbird sp.,Trochilidae sp."};
const QStringList kDetails = {"",
                              "",
                              "",
                              "Singing from the top of a spruce.",
                              "Two adults, one juvenile; seen well, photos taken.",
                              "Flyover, calling \"kee-yer\"\nheard twice more later.",
                              "Counted at the feeder, café garden, 7:30."};

}  // namespace

bool writeEBirdDownload(const QString& path, int rows, const QString& dataDir) {
    QList<std::pair<QString, QString>> species;
    for (const QStringList& row : readCsvFile(dataDir + QStringLiteral("/species.csv"))) {
        if (row.size() >= 2) {
            species.append({row[0], row[1]});
        }
    }
    if (species.isEmpty()) {
        return false;
    }
    std::mt19937 random(kSeed);
    const auto below = [&random](qsizetype n) { return qsizetype(random() % std::uint32_t(n)); };
    // A decade's life list: about 2,500 species, the common ones seen over and over.
    QList<qsizetype> seen;
    for (int i = 0; i < 2500; ++i) {
        seen.append(below(species.size()));
    }
    QByteArray csv =
        "Submission ID,Common Name,Scientific Name,Taxonomic Order,Count,State/Province,County,"
        "Location ID,Location,Latitude,Longitude,Date,Time,Protocol,Duration (Min),"
        "All Obs Reported,Distance Traveled (km),Area Covered (ha),Number of Observers,"
        "Breeding Code,Observation Details,Checklist Comments,ML Catalog Numbers\n";
    const QDate start(2015, 1, 1);
    for (int i = 0; i < rows; ++i) {
        QString names;
        if (below(100) < 3) {
            names = kOthers[below(kOthers.size())];
        } else {
            // Squaring the draw makes the first species of the decade's list the common ones.
            const qsizetype draw = below(seen.size());
            const auto& [common, scientific] = species[seen[draw * draw / seen.size()]];
            const bool form = below(100) < 10;
            names = QString::fromUtf8(spreadsheet::csvField(
                        form ? common + QStringLiteral(" (Eastern)") : common)) +
                    u',' + (form ? scientific + QStringLiteral(" orientalis") : scientific);
        }
        const int checklist = i / 20;  // twenty species a checklist
        const QString state = kStates[checklist * 7 % kStates.size()];
        const QString place =
            kPlaces[checklist * 3 % kPlaces.size()] + QStringLiteral(" %1").arg(checklist % 300);
        const QDate date = start.addDays(checklist * 3653 / std::max(1, rows / 20));
        const QString line =
            QStringLiteral(
                "S%1,%2,%3,%4,%5,County,L%6,%7,40.1,-74.2,%8,%9,eBird - Traveling "
                "Count,45,1,2.1,,1,,%10,,\n")
                .arg(checklist)
                .arg(names)
                .arg(i)
                .arg(1 + below(12))
                .arg(state)
                .arg(checklist % 300)
                .arg(QString::fromUtf8(spreadsheet::csvField(place)), date.toString(Qt::ISODate),
                     QStringLiteral("%1:%2 %3")
                         .arg(6 + checklist % 6, 2, 10, QLatin1Char('0'))
                         .arg(checklist % 60, 2, 10, QLatin1Char('0'))
                         .arg(QStringLiteral("AM")),
                     QString::fromUtf8(spreadsheet::csvField(kDetails[below(kDetails.size())])));
        csv += line.toUtf8();
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size();
}

}  // namespace generated
