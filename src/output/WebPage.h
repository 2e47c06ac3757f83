#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class SightingTable;

// The texts of a web page that do not come from the sightings.
struct WebPageTexts {
    QString userName;
    QString date;     // today, as the desktop writes a short date
    QString program;  // "Plovix 2.5"
    QString siteUrl;  // the maker's web site
};

// The fields the page is sorted by: order, then family, then binomial.
QStringList webPageOrder();
// How many of them group the sightings: order and family.
inline constexpr qsizetype webPageGroups() {
    return 2;
}
// Every field the page reads: the sort order's, then those its rows show.
QStringList webPageFields();

// The life list as one web page, in UTF-8 with CR LF line ends: a table with a row for each
// order and each family with their counts, a row for each sighting and the total at the foot.
// The sightings come sorted by webPageOrder(), grouped by its first webPageGroups() fields.
// Values of an order or family that differ only in letter case are one group, shown as its
// first sighting spells it. Texts of the sightings and the owner's name are HTML-escaped.
QByteArray webPage(const SightingTable& table, const WebPageTexts& texts);
