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
    QStringList countries;
    QStringList regions;

    // Read from the program's built-in copy of the data files; empty lists when unreadable.
    static ShippedData load();
    // Read from a folder holding orders.csv, families.csv, countries.csv and regions.csv.
    static ShippedData loadFrom(const QString& folder);
};
