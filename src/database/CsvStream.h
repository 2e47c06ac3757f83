#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <QStringView>
#include <functional>

// A CSV text read a piece at a time, however the pieces fall: a character of UTF-8, a quoted
// field with its commas, doubled quotes and line breaks, may each run from one piece into the
// next. Rows as parseCsv reads them are handed to the taker as soon as they are complete, so
// that only the row being read is held.
class CsvStream {
public:
    // Longer rows stop the reading: no sightings file has them, and a quote that is never
    // closed would otherwise make the rest of the file one field.
    static constexpr qsizetype kLongestRow = 4'000'000;

    // `take` gets each row; returning false stops the reading there.
    explicit CsvStream(std::function<bool(const QStringList&)> take,
                       qsizetype longestRow = kLongestRow);

    // The next piece of the file's bytes, UTF-8 (a byte-order mark at the very start dropped,
    // bytes that are no UTF-8 read as U+FFFD), or of its text; not both in one stream. False
    // once the reading stopped.
    bool addBytes(QByteArrayView bytes);
    bool addText(QStringView text);
    // The end of the text: the last row, if no line end closed it. False when stopped.
    bool finish();

    bool stopped() const { return m_stopped; }
    // True when the reading stopped at a row longer than the longest taken.
    bool rowTooLong() const { return m_tooLong; }
    // The rows handed over so far.
    qint64 rows() const { return m_rows; }

private:
    // Bytes after a piece's last ASCII byte wait for the next piece, up to this many.
    static constexpr qsizetype kLongestHeld = qsizetype(1) << 20;

    enum class State { Plain, Quoted, QuoteInQuoted };

    QString decoded(QByteArrayView chunk);

    void appendToField(QStringView run);
    void endField();
    void endRow();

    std::function<bool(const QStringList&)> m_take;
    qsizetype m_longestRow;
    QByteArray m_held;
    bool m_decodedAny = false;
    QStringList m_row;
    QString m_field;
    State m_state = State::Plain;
    bool m_fieldStarted = false;
    qsizetype m_rowLength = 0;
    qint64 m_rows = 0;
    bool m_stopped = false;
    bool m_tooLong = false;
};
