#pragma once

#include <QImage>
#include <QString>

// The error numbers a picture link reports.
inline constexpr int kOutOfMemory = 7;
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

// The most memory a picture may take once read, in bytes: a gigabyte holds the largest pictures
// cameras make (a 100-megapixel photograph takes 400 MB) with room to spare.
inline constexpr qint64 kLargestPicture = qint64(1) << 30;

// Reads a picture file of any kind the viewer offers, judged by its content whatever its name
// ends in. Raster pictures come at their pixel size, turned as their EXIF orientation says;
// metafiles are drawn at their natural size at dpiX × dpiY dots per inch. A picture that would
// take more than `largest` bytes, or more than half the memory the system has free, is refused
// as too large before it is read. The description of a picture that cannot be shown says why
// and names the file.
LoadedPicture loadPicture(const QString& path, double dpiX, double dpiY,
                          qint64 largest = kLargestPicture);
