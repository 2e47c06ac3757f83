#pragma once

// The files the exchange tests import: eBird rows and zip archives written as eBird and other
// programs write them.
#include <QByteArray>
#include <QList>
#include <QString>

// The heading of eBird's data download since October 2019.
extern const QString kHeading;

// One eBird row: the columns the import reads, the others filled as eBird fills them.
QString row(const QString& common, const QString& scientific, const QString& state,
            const QString& location, const QString& date, const QString& time,
            const QString& details = {});

// One file in a zip archive. The directory can be made to declare another size or checksum
// than the contents have.
struct ZipItem {
    QString name;
    QByteArray data;
    bool deflated = true;
    qint64 declaredSize = -1;  // -1: the size of `data`
    bool wrongChecksum = false;
};

// A zip archive of the items, in order, with `comment` after its directory.
QByteArray zipOf(const QList<ZipItem>& items, const QByteArray& comment = {});

void writeFile(const QString& path, const QByteArray& bytes);
