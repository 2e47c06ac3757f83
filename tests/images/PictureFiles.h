#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

// Small picture files of every kind the viewer offers, written by the tests' own code: Qt's
// writers where it has one, the GIF and the metafiles byte by byte. Raster pictures are of one
// colour all over; the metafiles leave the left quarter of their frame blank.
namespace picturefiles {

// Raster pictures are this many pixels; the metafiles this many inches at any resolution.
inline constexpr QSize kRasterSize{24, 16};
inline constexpr QSizeF kMetafileInches{2.0, 1.0};
// The colour of every picture (lossy formats come back near it).
inline const QColor kColour{40, 120, 200};

// The formats, named by the extension of their files.
QStringList formats();
// Writes <folder>/picture.<format>; its path, or an empty string when it cannot be written.
QString writePicture(const QString& folder, const QString& format);
// Writes the bytes to a file; its path, or an empty string when it cannot be written.
QString writeFile(const QString& path, const QByteArray& bytes);

}  // namespace picturefiles
