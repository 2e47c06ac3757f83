#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The lookup entries shipped with the program: the world's bird orders and families (with the
// order of each), the countries and the birding regions.
struct ShippedData {
    struct Family {
        QString family;
        QString order;
    };
    QStringList orders;
    QList<Family> families;
    struct Country {
        QString name;
        QString code;  // ISO 3166 two-letter code
        QString region;
    };
    QStringList countries;
    QList<Country> countryCodes;  // the countries with their codes and regions
    QStringList regions;

    // Read from the program's built-in copy of the data files; empty lists when unreadable.
    static ShippedData load();
    // Read from a folder holding orders.csv, families.csv, countries.csv and regions.csv.
    static ShippedData loadFrom(const QString& folder);
};
