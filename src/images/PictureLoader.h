#pragma once

#include <QImage>
#include <QString>

// A picture file read for showing, or the error a sighting's picture link reports.
struct LoadedPicture {
    QImage image;
    int errorNumber = 0;  // 53 no such file, 75 cannot be read, 481 not a picture we can show
    QString description;
    bool ok() const { return errorNumber == 0; }
};

// Reads a picture file of any kind the viewer offers, judged by its content whatever its name
// ends in. Raster pictures come at their pixel size, turned as their EXIF orientation says;
// metafiles are drawn at their natural size at dpiX × dpiY dots per inch.
LoadedPicture loadPicture(const QString& path, double dpiX, double dpiY);
