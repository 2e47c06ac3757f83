// The CSV reader under the checklist, the lookup data and both imports.
//
// Input: a CSV file. Its rows are read both ways, then written back with the spreadsheet's own
// field writer and read again.
#include "FuzzInput.h"
#include "database/CsvReader.h"
#include "exchange/Spreadsheet.h"

#include <QStringDecoder>

namespace {

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
    // Decoded whole: QString::fromUtf8 would drop a byte-order mark that starts the first field.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(text);
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
    return 0;
}
