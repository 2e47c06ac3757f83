#include "output/WebPage.h"
#include "database/Schema.h"

#include "database/LikePattern.h"
#include "output/SightingTable.h"

#include <QHash>
#include <algorithm>

namespace {

// The fields a sighting's row shows (month and year in one cell).
const QStringList kShownFields = {field::CommonName, field::Location, field::Country,
                                  field::Month,      field::Year,     field::Comments,
                                  field::Additional};

// Text for the page: markup characters and quotes become entities.
QString escaped(const QString& text) {
    // Most texts have nothing to escape, and are kept as they are.
    const auto special = [](QChar c) {
        return c == u'<' || c == u'>' || c == u'&' || c == u'"' || c == u'\'';
    };
    if (std::none_of(text.cbegin(), text.cend(), special)) {
        return text;
    }
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;"));
}

// How many sightings each value of a field has, where values that differ only in letter case
// are the same, as they are to the engine's "=". Empty values are counted together.
QHash<QString, qint64> countsOf(const SightingTable& table, int field) {
    QHash<QString, qint64> counts;
    // Rows come grouped, so a value is mostly the one before it, folded once.
    QString previous;
    qint64* count = nullptr;
    for (qsizetype row = 0; row < table.size(); ++row) {
        const QString& value = table.row(row)[field];
        if (!count || value != previous) {
            count = &counts[foldCase(value)];
            previous = value;
        }
        ++*count;
    }
    return counts;
}

class PageWriter {
public:
    explicit PageWriter(qsizetype expected) { m_bytes.reserve(expected); }

    void line(const QString& text) {
        m_bytes += text.toUtf8();
        m_bytes += "\r\n";
    }
    QByteArray bytes() const { return m_bytes; }

    void writeSpacerAndRule();
    void WriteWebPageHeader(const WebPageTexts& texts);
    void WriteOrderRow(const QString& order, qint64 count);
    void WriteFamilyRow(const QString& family, qint64 count);
    void WriteSightingRow(const QStringList& cells);
    void WriteWebPageFooter(const WebPageTexts& texts, qint64 total);

private:
    QByteArray m_bytes;
};

// An empty row, then a coloured rule across the table.
void PageWriter::writeSpacerAndRule() {
    for (const char* text : {"<tr><!-- spacer -->", "<td colspan='8'>&nbsp;</td>", "</tr>", "<tr>",
                             "<td colspan='8' class='rule'></td>", "</tr>"}) {
        line(QString::fromLatin1(text));
    }
}

void PageWriter::WriteWebPageHeader(const WebPageTexts& texts) {
    const QString title = QStringLiteral("Bird Sightings Life List for ") + escaped(texts.userName);
    for (const QString& text : {
             QStringLiteral("<html>"),
             QStringLiteral("<head>"),
             QStringLiteral("<meta charset='utf-8'>"),
             QStringLiteral("<title>%1</title>").arg(title),
             QStringLiteral("<style>"),
             QStringLiteral(".body{font-family:Arial, Helvetica, sans-serif;}"),
             QStringLiteral(".title{font-size:14pt; font-weight:bold;}"),
             QStringLiteral(".colHeads{font-size:10pt;font-weight:bold;}"),
             QStringLiteral(".text{font-size:10pt;}.footer{font-size:8pt;}"),
             QStringLiteral(".order{background-color:#7FFFD4; font-size:12pt; font-weight:bold;}"),
             QStringLiteral(".family{background-color:#E0FFFF; font-size:10pt; font-weight:bold;}"),
             QStringLiteral(".rule{height:2px; background-color:#7FFFD4;}"),
             QStringLiteral("</style>"),
             QStringLiteral("</head>"),
             QStringLiteral("<body class='body'>"),
             QStringLiteral("<table width='100%' border='0' cellspacing='0' cellpadding='2'>"),
             QStringLiteral("<tr>"),
             QStringLiteral("<td colspan='8' align='center' class='title'>%1</td>").arg(title),
             QStringLiteral("</tr>"),
             QStringLiteral("<tr>"),
             QStringLiteral("<td colspan='8' align='center' class='colHeads'>%1</td>")
                 .arg(texts.date),
             QStringLiteral("</tr>"),
         }) {
        line(text);
    }
    writeSpacerAndRule();
    for (const QString& text : {
             QStringLiteral("<tr class='colHeads'>"),
             QStringLiteral("<td width='1%'></td><td width='1%'></td><td width='20%'></td>"),
             QStringLiteral("<td width='16%'>Location</td><td width='12%'>Country</td>"
                            "<td width='10%'>Date</td>"),
             QStringLiteral(
                 "<td width='20%'>Comments</td><td width='20%'>Additional Sightings</td>"),
             QStringLiteral("</tr>"),
         }) {
        line(text);
    }
}

void PageWriter::WriteOrderRow(const QString& order, qint64 count) {
    line(QStringLiteral("<tr class='order'>"));
    line(QStringLiteral("<td colspan='7'>%1</td><td align='right'>%2</td>")
             .arg(escaped(order))
             .arg(count));
    line(QStringLiteral("</tr>"));
}

void PageWriter::WriteFamilyRow(const QString& family, qint64 count) {
    line(QStringLiteral("<tr>"));
    line(QStringLiteral("<td></td><td colspan='6' class='family'>%1</td>"
                        "<td align='right' class='family'>%2</td>")
             .arg(escaped(family))
             .arg(count));
    line(QStringLiteral("</tr>"));
}

void PageWriter::WriteSightingRow(const QStringList& cells) {
    line(QStringLiteral("<tr class='text'>"));
    line(QStringLiteral("<td></td><td></td>"));
    QString row;
    for (const QString& cell : cells) {
        row += QLatin1String("<td>");
        row += escaped(cell);
        row += QLatin1String("</td>");
    }
    line(row);
    line(QStringLiteral("</tr>"));
}

void PageWriter::WriteWebPageFooter(const WebPageTexts& texts, qint64 total) {
    writeSpacerAndRule();
    for (const QString& text : {
             QStringLiteral("<tr>"),
             QStringLiteral("<td colspan='7' class='footer'>%1 by <a href='%2'>Tenvane "
                            "Software</a></td>")
                 .arg(texts.program, texts.siteUrl),
             QStringLiteral("<td colspan='1' align='right' class='order'>Total Bird Count: %1</td>")
                 .arg(total),
             QStringLiteral("</tr>"),
             QStringLiteral("</table>"),
             QStringLiteral("</body>"),
             QStringLiteral("</html>"),
         }) {
        line(text);
    }
}

}  // namespace

QStringList webPageOrder() {
    return {field::Order, field::Family, field::Species};
}

QStringList webPageFields() {
    return webPageOrder() + kShownFields;
}

QByteArray webPage(const SightingTable& table, const WebPageTexts& texts) {
    const int order = table.fieldIndex(field::Order);
    const int family = table.fieldIndex(field::Family);
    QList<int> cells;
    for (const QString& field : kShownFields) {
        cells.append(table.fieldIndex(field));
    }
    const QHash<QString, qint64> orderCounts = countsOf(table, order);
    const QHash<QString, qint64> familyCounts = countsOf(table, family);

    PageWriter page(table.size() * 200 + 4096);
    page.WriteWebPageHeader(texts);
    // Sightings before the first order (those without one) get no order row and are left out
    // of the total; likewise no family row before the first family.
    QString currentOrder;
    QString currentFamily;
    qint64 total = 0;
    for (qsizetype row = 0; row < table.size(); ++row) {
        const QString& rowOrder = table.row(row)[order];
        if (!SightingTable::sameGroup(rowOrder, currentOrder)) {
            currentOrder = rowOrder;
            const qint64 count = orderCounts.value(foldCase(rowOrder));
            total += count;
            page.WriteOrderRow(rowOrder, count);
        }
        const QString& rowFamily = table.row(row)[family];
        if (!SightingTable::sameGroup(rowFamily, currentFamily)) {
            currentFamily = rowFamily;
            page.WriteFamilyRow(rowFamily, familyCounts.value(foldCase(rowFamily)));
        }
        const QStringList& values = table.row(row);
        page.WriteSightingRow({values[cells[0]], values[cells[1]], values[cells[2]],
                               values[cells[3]] + QLatin1Char(' ') + values[cells[4]],
                               values[cells[5]], values[cells[6]]});
    }
    page.WriteWebPageFooter(texts, total);
    return page.bytes();
}
