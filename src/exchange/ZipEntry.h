#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

class QIODevice;

// Reading the CSV file out of a zip archive, as eBird sends its downloads, straight from the
// archive file: its directory at the end, then the entry, unpacked a piece at a time.
namespace zip {

// True when the bytes that start a file are those of a zip archive rather than text.
bool isArchive(const QByteArray& start);

// An entry of the archive's directory.
struct Entry {
    QString name;
    int method = 0;  // 0 stored, 8 deflated
    quint32 crc = 0;
    qint64 packedSize = 0;
    qint64 size = 0;  // unpacked, as the directory declares it
    qint64 localHeader = 0;
};

// The archive's entry named `preferred` (in any folder, ignoring case), or else its first
// entry whose name ends in ".csv". No value when there is none or the directory cannot be read,
// with the reason in `error`.
std::optional<Entry> csvEntry(QIODevice& archive, const QString& preferred, QString& error);

// The entry's contents handed to `take` a piece at a time, at most `pieceSize` bytes each, with
// the share of its packed bytes read so far in percent; the reading stops, and is done, once
// `take` returns false. False when the entry is damaged (its checksum included), packed in a
// way not read here (only stored and deflated entries are), or unpacks to more bytes than it
// declares (refused as soon as it does, before those bytes are handed over), with the reason
// in `error`.
bool readEntry(QIODevice& archive, const Entry& entry, qint64 pieceSize,
               const std::function<bool(QByteArrayView, int)>& take, QString& error);

}  // namespace zip
