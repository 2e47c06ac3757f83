#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Windows metafiles (WMF, placeable or not) and enhanced metafiles (EMF), drawn on white at the
// size they were made for.

// Whether a file that begins with these bytes is a metafile, judged by content alone; the first
// 44 bytes are enough to tell.
bool isMetafile(const QByteArray& head);

// Draws a metafile at its natural size at dpiX × dpiY dots per inch, on an opaque white
// background (QImage::Format_ARGB32). A null image when it cannot, with a short reason in *error
// (when error is not null).
QImage renderMetafile(const QByteArray& data, double dpiX, double dpiY, QString* error);
