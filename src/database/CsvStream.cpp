#include "database/CsvStream.h"

#include <QStringDecoder>

namespace {

// The length of the run of characters from `from` up to the first one that ends it (or the end
// of the text).
template <typename EndsRun>
qsizetype runLength(QStringView text, qsizetype from, EndsRun endsRun) {
    qsizetype end = from + 1;
    while (end < text.size() && !endsRun(text[end])) {
        ++end;
    }
    return end - from;
}

bool endsPlainRun(QChar c) {
    return c == u',' || c == u'\n' || c == u'\r' || c == u'"';
}

bool isContinuation(char byte) {
    return (uchar(byte) & 0xC0) == 0x80;
}

}  // namespace

CsvStream::CsvStream(std::function<bool(const QStringList&)> take, qsizetype longestRow)
    : m_take(std::move(take)), m_longestRow(longestRow) {}

// Each piece is decoded up to its last ASCII byte, which is never part of a longer character;
// the bytes after it wait for the next piece. No decoder state is carried from one piece to the
// next: Qt's UTF-8 decoder, handed a piece that ends in the lead byte of a character that never
// comes (as a Latin-1 "ñ" reads), loses the character that starts the next piece.
bool CsvStream::addBytes(QByteArrayView bytes) {
    if (m_stopped) {
        return false;
    }
    qsizetype cut = bytes.size();
    while (cut > 0 && uchar(bytes[cut - 1]) >= 0x80) {
        --cut;
    }
    if (cut == 0 && m_held.size() + bytes.size() <= kLongestHeld) {
        m_held += bytes;
        return true;
    }
    QByteArray chunk = std::exchange(m_held, {});
    if (cut > 0) {
        chunk += bytes.first(cut);
        m_held = bytes.sliced(cut).toByteArray();
    } else {
        // A long run without ASCII: cut before its last lead byte instead.
        chunk += bytes;
        cut = chunk.size();
        for (qsizetype back = 1; back <= 4 && back <= chunk.size(); ++back) {
            if (!isContinuation(chunk[chunk.size() - back])) {
                cut = chunk.size() - back;
                break;
            }
        }
        m_held = chunk.sliced(cut);
        chunk.truncate(cut);
    }
    return addText(decoded(chunk));
}

QString CsvStream::decoded(QByteArrayView chunk) {
    if (!m_decodedAny && !chunk.isEmpty()) {
        m_decodedAny = true;
        if (chunk.startsWith("\xEF\xBB\xBF")) {
            chunk = chunk.sliced(3);
        }
    }
    // Stateless: a character cut short at the end of the file becomes U+FFFD, as do bytes that
    // are no UTF-8; a byte-order mark later in the text is kept.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(chunk);
}

bool CsvStream::addText(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && !m_stopped) {
        const QChar ch = text[i];
        if (m_state == State::QuoteInQuoted) {
            // A quote inside quotes is the first of a doubled pair or the closing one.
            if (ch == u'"') {
                appendToField(text.sliced(i, 1));
                m_state = State::Quoted;
                ++i;
                continue;
            }
            m_state = State::Plain;
        }
        if (m_state == State::Quoted) {
            if (ch == u'"') {
                m_state = State::QuoteInQuoted;
                ++i;
            } else {
                const qsizetype run = runLength(text, i, [](QChar c) { return c == u'"'; });
                appendToField(text.sliced(i, run));
                i += run;
            }
        } else if (ch == u'"') {
            m_state = State::Quoted;
            m_fieldStarted = true;
            ++i;
        } else if (ch == u',') {
            endField();
            m_fieldStarted = true;
            ++i;
        } else if (ch == u'\n') {
            endRow();
            ++i;
        } else if (ch == u'\r') {
            ++i;
        } else {
            const qsizetype run = runLength(text, i, endsPlainRun);
            appendToField(text.sliced(i, run));
            m_fieldStarted = true;
            i += run;
        }
    }
    return !m_stopped;
}

bool CsvStream::finish() {
    if (!m_stopped && !m_held.isEmpty()) {
        addText(decoded(std::exchange(m_held, {})));
    }
    if (!m_stopped) {
        endRow();
    }
    return !m_stopped;
}

void CsvStream::appendToField(QStringView run) {
    m_rowLength += run.size();
    if (m_rowLength > m_longestRow) {
        m_tooLong = true;
        m_stopped = true;
        return;
    }
    m_field += run;
}

void CsvStream::endField() {
    m_row.append(std::move(m_field));
    m_field = QString();
    m_fieldStarted = false;
}

void CsvStream::endRow() {
    if (m_fieldStarted || !m_row.isEmpty() || !m_field.isEmpty()) {
        endField();
        ++m_rows;
        if (!m_take(m_row)) {
            m_stopped = true;
        }
    }
    m_row.clear();
    m_rowLength = 0;
}
