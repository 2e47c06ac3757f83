// The CSV reader under the checklist, the lookup data and both imports.
//
// Input: a CSV file. Its rows are read both ways, then written back with the spreadsheet's own
// field writer and read again; its bytes are read as an import reads a file, a piece at a time.
#include "FuzzInput.h"
#include "database/CsvReader.h"
#include "database/CsvStream.h"
#include "exchange/Spreadsheet.h"

#include <QStringDecoder>

namespace {

// The text decoded whole, byte-order marks kept.
QString decodedWhole(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

// The rows as a CSV text: fields as the spreadsheet writes them, CR LF line ends. A row of one
// empty field is written as a pair of quotes, which the reader keeps; bare, it would be a blank
// line, which the reader skips.
QString csvOf(const QList<QStringList>& rows) {
    QByteArray text;
    for (const QStringList& row : rows) {
        if (row.size() == 1 && row[0].isEmpty()) {
            text += "\"\"";
        }
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0) {
                text += ',';
            }
            text += spreadsheet::csvField(row[i]);
        }
        text += "\r\n";
    }
    // QString::fromUtf8 would drop a byte-order mark that starts the first field.
    return decodedWhole(text);
}

// The rows of the bytes handed to a stream in pieces of `piece` bytes.
QList<QStringList> streamed(QByteArrayView bytes, qsizetype piece) {
    QList<QStringList> rows;
    CsvStream stream([&rows](const QStringList& row) {
        rows.append(row);
        return true;
    });
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        FUZZ_CHECK(stream.addBytes(bytes.sliced(at, std::min(piece, bytes.size() - at))));
    }
    FUZZ_CHECK(stream.finish());
    FUZZ_CHECK(stream.rows() == rows.size());
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::fileText(data, size);
    const QList<QStringList> rows = parseCsv(text);

    QList<QStringList> oneByOne;
    forEachCsvRow(text, [&oneByOne](const QStringList& row) { oneByOne.append(row); });
    FUZZ_CHECK(oneByOne == rows);

    qsizetype fields = 0;
    for (const QStringList& row : rows) {
        FUZZ_CHECK(!row.isEmpty());
        fields += row.size();
    }
    // Every field but the first of a row follows a comma of the text.
    FUZZ_CHECK(fields - rows.size() <= text.count(u','));

    // What the reader gives, the writer writes so that the reader gives it again.
    FUZZ_CHECK(parseCsv(csvOf(rows)) == rows);

    // However the pieces fall, the same rows; for UTF-8 those of the text decoded whole, less a
    // byte-order mark at its start.
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QStringList> whole = streamed(bytes, qMax<qsizetype>(1, bytes.size()));
    FUZZ_CHECK(streamed(bytes, 1) == whole);
    FUZZ_CHECK(streamed(bytes, 1 + qsizetype(size % 5)) == whole);
    if (bytes.isValidUtf8()) {
        const QByteArrayView unmarked = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
        FUZZ_CHECK(whole == parseCsv(decodedWhole(unmarked)));
    }
    return 0;
}
