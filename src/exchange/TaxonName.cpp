#include "exchange/TaxonName.h"

#include <QRegularExpression>

namespace {

// A genus then a species epithet; whatever follows (a subspecies, a group in brackets) belongs
// to that species.
const QRegularExpression& binomialStart() {
    static const QRegularExpression pattern(
        QStringLiteral("^([A-Z][a-z]+) ([a-z][a-z-]*[a-z])(?: (.*))?$"));
    return pattern;
}

// "Mallard (Domestic type)", "Domestic goose sp.": not "Passer domesticus".
bool isDomestic(const QString& common, const QString& scientific) {
    const QLatin1String type("(domestic type)");
    return common.contains(type, Qt::CaseInsensitive) ||
           scientific.contains(type, Qt::CaseInsensitive) ||
           common.startsWith(QLatin1String("domestic "), Qt::CaseInsensitive);
}

}  // namespace

TaxonName taxonName(const QString& common, const QString& scientific) {
    TaxonName name;
    const QString english = common.simplified();
    const QString latin = scientific.simplified();
    name.english = english;
    if (english.contains(u'/') || latin.contains(u'/') || isDomestic(english, latin)) {
        return name;
    }
    const QRegularExpressionMatch match = binomialStart().match(latin);
    if (!match.hasMatch() || match.captured(2) == u"sp") {
        return name;
    }
    // A hybrid crosses two species ("Anas platyrhynchos x rubripes"). A cross of two forms of
    // one species (an intergrade, "Colaptes auratus luteus x cafer") is still that species.
    const QString rest = match.captured(3);
    if (latin.contains(QLatin1String(" x ")) &&
        (rest.startsWith(QLatin1String("x ")) || rest.isEmpty())) {
        return name;
    }
    if (english.contains(QLatin1String(" x ")) && !english.contains(u'(')) {
        return name;
    }
    name.binomial = match.captured(1) + u' ' + match.captured(2);
    const qsizetype bracket = english.indexOf(QLatin1String(" ("));
    if (bracket > 0) {
        name.english = english.left(bracket);
    }
    return name;
}
