#pragma once

#include <QString>
#include <functional>

class CsvStream;

// A file chosen for import, read a piece at a time: a CSV file, or the CSV file in a zip archive
// (as eBird sends its downloads), unpacked as it is read. Only the piece at hand is held.
class ImportFile {
public:
    // Files of more text than this are refused before they are read: no eBird download or
    // life list comes near it, and the rows kept of a file grow with it.
    static constexpr qint64 kLargestText = qint64(1) << 30;
    static constexpr qint64 kPieceSize = qint64(1) << 20;

    explicit ImportFile(QString path, qint64 pieceSize = kPieceSize);

    // Hands the file's text to `stream`, and after each piece the share of the file read so far,
    // in percent, to `progress` (when given); stops early once the stream stops. False when the
    // file cannot be read, with the reason in `error`, or when `progress` returned false to stop
    // the reading, with `error` empty.
    bool readInto(CsvStream& stream, QString& error,
                  const std::function<bool(int)>& progress = {}) const;

private:
    QString m_path;
    qint64 m_pieceSize;
};
