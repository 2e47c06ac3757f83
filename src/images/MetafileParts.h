#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QtEndian>

// What the WMF and EMF renderers behind renderMetafile (Metafile.h) share.
namespace metafile {

inline constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
inline constexpr qsizetype kPlaceableHeaderBytes = 22;
inline constexpr qsizetype kWmfHeaderBytes = 18;  // nine words
inline constexpr quint32 kEmrHeader = 1;
inline constexpr quint32 kEmfSignature = 0x464D4520;  // " EMF", at byte 40 of the header record

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

// A null image, with the reason in *error when error is not null.
QImage failure(QString* error, const QString& reason);

// Why a picture of this many pixels cannot be made, or an empty string when it can.
QString sizeProblem(double width, double height);

// Each kind, at its natural size at dpiX × dpiY dots per inch (both checked to be sensible).
QImage renderWmf(const QByteArray& data, double dpiX, double dpiY, QString* error);  // WmfPicture
QImage renderEmf(const QByteArray& data, double dpiX, double dpiY, QString* error);  // EmfPicture

}  // namespace metafile
