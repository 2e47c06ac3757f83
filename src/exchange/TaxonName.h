#pragma once

#include <QString>

// What a sighting of an eBird row counts as on a life list, judged from its names.
struct TaxonName {
    // The species' binomial ("Setophaga coronata" for "Setophaga coronata coronata"); empty
    // when the row names no single species: a genus or group ("gull sp."), a slash, a hybrid,
    // a domestic type, or anything else that is not a binomial.
    QString binomial;
    // The English name without a subspecies or group form's part in brackets ("Yellow-rumped
    // Warbler" for "Yellow-rumped Warbler (Myrtle)").
    QString english;

    bool isSpecies() const { return !binomial.isEmpty(); }
};

TaxonName taxonName(const QString& common, const QString& scientific);
