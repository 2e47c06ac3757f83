#pragma once

#include <QImage>
#include <QString>

// The error numbers a picture link reports.
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAccessError = 75;
inline constexpr int kInvalidPicture = 481;

// A picture file read for showing, or the error a sighting's picture link reports.
struct LoadedPicture {
    QImage image;
    int errorNumber = 0;  // one of the numbers above, 0 when the picture was read
    QString description;
    bool ok() const { return errorNumber == 0; }
};

// Reads a picture file of any kind the viewer offers, judged by its content whatever its name
// ends in. Raster pictures come at their pixel size, turned as their EXIF orientation says;
// metafiles are drawn at their natural size at dpiX × dpiY dots per inch.
LoadedPicture loadPicture(const QString& path, double dpiX, double dpiY);
