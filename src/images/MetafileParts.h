#pragma once

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QtEndian>

// What the WMF and EMF renderers behind renderMetafile (Metafile.h) share.
namespace metafile {

inline constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
inline constexpr qsizetype kPlaceableHeaderBytes = 22;
inline constexpr qsizetype kWmfHeaderBytes = 18;         // nine words
inline constexpr qsizetype kPlaceableUnitsPerInch = 14;  // where the placeable header says it
inline constexpr quint32 kEmrHeader = 1;
inline constexpr quint32 kEmfSignature = 0x464D4520;  // " EMF", at byte 40 of the header record
// Where the EMF header record keeps its rectangles (left, top, right, bottom).
inline constexpr qsizetype kEmfBounds = 8;  // of what is drawn, in the reference device's pixels
inline constexpr qsizetype kEmfFrame = 24;  // of the picture, in 0.01 mm

// Little-endian numbers at a byte offset; the caller has checked that they lie within `data`.
inline quint16 word(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}
inline quint32 dword(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}
inline qint32 int32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<qint32>(data.constData() + at);
}

inline bool isPlaceableWmf(const QByteArray& data) {
    return data.size() >= 4 && dword(data, 0) == kPlaceableKey;
}

// The standard WMF header at `at`: type 1 (in memory) or 2 (on disk), nine words long.
inline bool isStandardWmf(const QByteArray& data, qsizetype at) {
    if (data.size() < at + 4) {
        return false;
    }
    const quint16 type = word(data, at);
    return (type == 1 || type == 2) && word(data, at + 2) == kWmfHeaderBytes / 2;
}

inline bool isEmf(const QByteArray& data) {
    return data.size() >= 44 && dword(data, 0) == kEmrHeader && dword(data, 40) == kEmfSignature;
}

// What is checked and worked out before a library is handed the file (Metafile.cpp).

// Walks the records of a WMF up to its end-of-file record, so that libwmf is only ever handed
// whole records: a truncated or garbled file is refused before it reaches libwmf. The reason the
// file is damaged, or an empty string. On the way it notes the first window origin the records set,
// and whether they choose a mapping of their own (a mapping mode, or a window of negative extent).
QString walkWmf(const QByteArray& data, QPointF* windowOrigin, bool* ownMapping);

// Walks the records of an EMF up to its end-of-file record, as walkWmf does. The reason the file
// is damaged, or an empty string and in *length the bytes up to the end of that record.
QString emfDamage(const QByteArray& data, qsizetype* length);
// The three below read the header record, which emfDamage has found whole.
// The reference device's pixels per 0.01 mm across and down; zero when the header does not say.
QPointF emfPixelsPerMm100(const QByteArray& data);
// The size an EMF was made for, in 0.01 mm: its frame, or when the frame is empty its bounds in
// pixels of the device it was made on. Empty when neither says.
QSizeF emfSizeMm100(const QByteArray& data);
// emf2svg fits the header's bounds (those of what is drawn, in the reference device's pixels) to
// the picture. Setting them to the frame makes it draw the whole frame, margins and all.
void setBoundsToFrame(QByteArray& records);

// A null image, with the reason in *error when error is not null.
QImage failure(QString* error, const QString& reason);

// Why a picture of this many pixels cannot be made, or an empty string when it can.
QString sizeProblem(double width, double height);

// Each kind, at its natural size at dpiX × dpiY dots per inch (both checked to be sensible).
QImage renderWmf(const QByteArray& data, double dpiX, double dpiY, QString* error);  // WmfPicture
QImage renderEmf(const QByteArray& data, double dpiX, double dpiY, QString* error);  // EmfPicture

}  // namespace metafile
