#include "output/ReportPages.h"

#include "output/SightingTable.h"
#include "output/TextWidths.h"
#include "platform/PrintCanvas.h"

#include <QHash>
#include <algorithm>

namespace {

constexpr double kRuleSpace = 60;       // above and below a rule
constexpr double kColumnPadding = 100;  // between the text of a column and the next
constexpr double kGroupSpace = 80;      // above a group heading that does not start the page

void useFont(PrintCanvas& canvas, const ReportFont& font) {
    canvas.setFontName(font.family);
    canvas.setFontSize(font.points);
    canvas.setFontBold(font.bold);
    canvas.setFontItalic(font.italic);
}

// The row of one sighting: the lines of each column's text.
using WrappedRow = QList<QStringList>;

class Builder {
public:
    Builder(const ReportLayout& layout, const SightingTable& table, const ReportValues& values,
            PrintCanvas& canvas)
        : m_layout(layout),
          m_table(table),
          m_values(values),
          m_canvas(canvas),
          m_widths(canvas),
          m_width(canvas.scaleWidth()) {}

    QList<ReportPage> run();

private:
    double lineHeight(const QString& font);
    double heightOf(const ReportLine& line);
    // Places a line at `y`; returns its height.
    double place(ReportPage& page, const ReportLine& line, double y,
                 const std::function<QString(const QString&)>& valueOf);
    QStringList wrap(const QString& text, double width);
    WrappedRow wrapCells(const QStringList& texts, const QString& font);
    // Places the lines `from` to `to` (not included) of every column at `y`; returns their
    // height.
    double placeCells(ReportPage& page, const WrappedRow& row, const QString& font, double y,
                      qsizetype from = 0, qsizetype to = -1);
    QStringList headings(int number, int count) const;
    void placeHeaderAndFooter(ReportPage& page, int number, int count);
    QString pageValue(const QString& name, int number, int count) const;
    // The level of the outermost group that changes at `row`; the number of groups when none.
    int changeLevel(qsizetype row) const;
    QList<QList<qsizetype>> groupCounts() const;

    const ReportLayout& m_layout;
    const SightingTable& m_table;
    const ReportValues& m_values;
    PrintCanvas& m_canvas;
    TextWidths m_widths;
    double m_width;
    QList<int> m_groupFields;
};

double Builder::lineHeight(const QString& font) {
    useFont(m_canvas, m_layout.fonts.value(font));
    return m_canvas.textHeight(QString());
}

double Builder::heightOf(const ReportLine& line) {
    return line.rule ? 2 * kRuleSpace : lineHeight(line.font);
}

double Builder::place(ReportPage& page, const ReportLine& line, double y,
                      const std::function<QString(const QString&)>& valueOf) {
    if (line.rule) {
        page.append({true, {}, 0, y + kRuleSpace, {}});
        return 2 * kRuleSpace;
    }
    const double height = lineHeight(line.font);
    for (const ReportPiece& piece : line.pieces) {
        const QString text = fillIn(piece.text, valueOf);
        const double width = m_canvas.textWidth(text);
        const double x = piece.align == ReportPiece::Left     ? line.indent
                         : piece.align == ReportPiece::Center ? (m_width - width) / 2
                                                              : m_width - width;
        page.append({false, line.font, x, y, text});
    }
    return height;
}

QStringList Builder::wrap(const QString& text, double width) {
    const bool breaks = text.contains(u'\n') || text.contains(u'\r');
    if (!breaks && m_widths.fits(text, width)) {
        return {text};
    }
    QStringList lines;
    QString normal = text;
    if (breaks) {
        normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    }
    for (const QStringView paragraph : QStringView(normal).tokenize(u'\n')) {
        // The line so far and its estimated width.
        QString current;
        TextWidths::Estimate estimate;
        // A word that starts a line; a word wider than the column is broken where it reaches
        // the edge, one line's length at a time.
        const auto startLine = [&](QStringView word) {
            for (qsizetype fits = m_widths.fitting(word, width); fits < word.size();
                 fits = m_widths.fitting(word, width)) {
                lines.append(word.first(fits).toString());
                word = word.sliced(fits);
            }
            current = word.toString();
            estimate = m_widths.of(current);
        };
        for (const QStringView word : paragraph.tokenize(u' ', Qt::SkipEmptyParts)) {
            if (current.isEmpty()) {
                startLine(word);
                continue;
            }
            const TextWidths::Estimate longer = m_widths.joined(estimate, current.back(), word);
            const qsizetype before = current.size();
            current.append(u' ').append(word);
            if (m_widths.fits(current, longer, width)) {
                estimate = longer;
            } else {
                current.truncate(before);
                lines.append(current);
                startLine(word);
            }
        }
        lines.append(current);
    }
    return lines;
}

WrappedRow Builder::wrapCells(const QStringList& texts, const QString& font) {
    useFont(m_canvas, m_layout.fonts.value(font));
    m_widths.useFont(font);
    WrappedRow row;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const double width = m_layout.columns[i].width * m_width - kColumnPadding;
        row.append(wrap(texts[i], std::max(width, 1.0)));
    }
    return row;
}

double Builder::placeCells(ReportPage& page, const WrappedRow& row, const QString& font, double y,
                           qsizetype from, qsizetype to) {
    const double height = lineHeight(font);
    double left = 0;
    qsizetype lines = 1;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const ReportColumn& column = m_layout.columns[i];
        const double room = column.width * m_width - kColumnPadding;
        const qsizetype end = to < 0 ? row[i].size() : std::min(to, row[i].size());
        for (qsizetype n = from; n < end; ++n) {
            const QString& text = row[i][n];
            if (text.isEmpty()) {
                continue;
            }
            // Left-aligned texts need no measuring.
            const double x = column.align == ReportPiece::Left ? left
                             : column.align == ReportPiece::Center
                                 ? left + (room - m_canvas.textWidth(text)) / 2
                                 : left + room - m_canvas.textWidth(text);
            page.append({false, font, x, y + double(n - from) * height, text});
        }
        lines = std::max(lines, end - from);
        left += column.width * m_width;
    }
    return double(lines) * height;
}

QString Builder::pageValue(const QString& name, int number, int count) const {
    if (name == u"Title") {
        return m_values.title;
    }
    if (name == u"CompanyTag") {
        return m_values.companyTag;
    }
    if (name == u"PrintDate") {
        return m_values.printDate;
    }
    if (name == u"Page") {
        return QString::number(number);
    }
    if (name == u"Pages") {
        return QString::number(count);
    }
    return {};
}

QStringList Builder::headings(int number, int count) const {
    QStringList texts;
    for (const ReportColumn& column : m_layout.columns) {
        texts.append(fillIn(column.heading,
                            [&](const QString& name) { return pageValue(name, number, count); }));
    }
    return texts;
}

void Builder::placeHeaderAndFooter(ReportPage& page, int number, int count) {
    const auto valueOf = [&](const QString& name) { return pageValue(name, number, count); };
    double y = 0;
    for (const ReportLine& line : m_layout.header) {
        y += place(page, line, y, valueOf);
    }
    if (!m_layout.headingsFont.isEmpty()) {
        placeCells(page, wrapCells(headings(number, count), m_layout.headingsFont),
                   m_layout.headingsFont, y);
    }
    double footerHeight = 0;
    for (const ReportLine& line : m_layout.footer) {
        footerHeight += heightOf(line);
    }
    y = m_canvas.scaleHeight() - footerHeight;
    for (const ReportLine& line : m_layout.footer) {
        y += place(page, line, y, valueOf);
    }
}

int Builder::changeLevel(qsizetype row) const {
    if (row == 0) {
        return 0;
    }
    for (int level = 0; level < m_groupFields.size(); ++level) {
        const int field = m_groupFields[level];
        if (!SightingTable::sameGroup(m_table.row(row)[field], m_table.row(row - 1)[field])) {
            return level;
        }
    }
    return int(m_groupFields.size());
}

QList<QList<qsizetype>> Builder::groupCounts() const {
    // counts[level][row]: the size of the group of that level that starts at the row.
    QList<QList<qsizetype>> counts(m_groupFields.size(), QList<qsizetype>(m_table.size(), 0));
    QList<qsizetype> starts(m_groupFields.size(), 0);
    for (qsizetype row = 1; row <= m_table.size(); ++row) {
        const int changed = row == m_table.size() ? 0 : changeLevel(row);
        for (int level = changed; level < m_groupFields.size(); ++level) {
            counts[level][starts[level]] = row - starts[level];
            starts[level] = row;
        }
    }
    return counts;
}

QList<ReportPage> Builder::run() {
    for (const ReportGroup& group : m_layout.groups) {
        m_groupFields.append(m_table.fieldIndex(group.field));
    }
    // The space between the header and the footer.
    double top = 0;
    for (const ReportLine& line : m_layout.header) {
        top += heightOf(line);
    }
    if (!m_layout.headingsFont.isEmpty()) {
        ReportPage scratch;
        top += placeCells(scratch, wrapCells(headings(1, 1), m_layout.headingsFont),
                          m_layout.headingsFont, 0) +
               kRuleSpace;
    }
    double bottom = m_canvas.scaleHeight();
    for (const ReportLine& line : m_layout.footer) {
        bottom -= heightOf(line);
    }
    const double rowHeight = lineHeight(m_layout.rowsFont);
    // The whole lines of a row that fit between `y` and the footer; one at the top of a page,
    // whatever the layout leaves, so that the report always ends.
    const auto linesFitting = [&](double y) {
        const auto lines = qsizetype((bottom - y) / rowHeight + 1e-9);
        return y <= top ? std::max<qsizetype>(lines, 1) : std::max<qsizetype>(lines, 0);
    };

    const QList<QList<qsizetype>> counts = groupCounts();
    // The fields by name, and for a column that shows one field and nothing else, that field.
    QHash<QString, int> fields;
    for (int f = 0; f < m_table.fields().size(); ++f) {
        fields.insert(m_table.fields()[f], f);
    }
    QList<int> wholeField;
    for (const ReportColumn& column : m_layout.columns) {
        const bool whole = column.text.startsWith(u'{') && column.text.endsWith(u'}') &&
                           column.text.count(u'{') == 1 && column.text.count(u'}') == 1;
        wholeField.append(whole ? fields.value(column.text.mid(1, column.text.size() - 2), -1)
                                : -1);
    }
    QList<ReportPage> pages(1);
    double y = top;
    for (qsizetype row = 0; row < m_table.size(); ++row) {
        const int level = changeLevel(row);
        const QStringList& sighting = m_table.row(row);
        const auto valueOf = [&](const QString& name) {
            const int field = fields.value(name, -1);
            return field < 0 ? QString() : sighting[field];
        };
        QStringList texts;
        for (qsizetype c = 0; c < m_layout.columns.size(); ++c) {
            texts.append(wholeField[c] >= 0 ? sighting[wholeField[c]]
                                            : fillIn(m_layout.columns[c].text, valueOf));
        }
        const WrappedRow cells = wrapCells(texts, m_layout.rowsFont);
        qsizetype lines = 1;
        for (const QStringList& column : cells) {
            lines = std::max(lines, column.size());
        }
        double headings = 0;
        for (int g = level; g < m_groupFields.size(); ++g) {
            headings += kGroupSpace + heightOf(m_layout.groups[g].line);
        }
        // A row that does not fit the rest of the page starts the next one; a row taller than
        // a page starts where it is, when its headings and a line of it fit there, and goes on
        // over as many pages as it needs. Group headings are never left without a line.
        if (y > top && y + headings + double(lines) * rowHeight > bottom) {
            const bool tallerThanAPage = top + headings + double(lines) * rowHeight > bottom;
            if (!tallerThanAPage || linesFitting(y + headings) == 0) {
                pages.append(ReportPage());
                y = top;
            }
        }
        for (int g = level; g < m_groupFields.size(); ++g) {
            const ReportGroup& group = m_layout.groups[g];
            const QString value = m_table.value(row, m_groupFields[g]);
            if (y > top) {
                y += kGroupSpace;
            }
            y += place(pages.last(), group.line, y, [&](const QString& name) {
                if (name == u"Value") {
                    return value.isEmpty() ? group.blank : value;
                }
                if (name == u"Count") {
                    return QString::number(counts[g][row]);
                }
                return pageValue(name, 0, 0);
            });
        }
        for (qsizetype from = 0; from < lines;) {
            const qsizetype to = std::min(lines, from + linesFitting(y));
            y += placeCells(pages.last(), cells, m_layout.rowsFont, y, from, to);
            from = to;
            if (from < lines) {
                pages.append(ReportPage());
                y = top;
            }
        }
    }
    for (qsizetype i = 0; i < pages.size(); ++i) {
        placeHeaderAndFooter(pages[i], int(i + 1), int(pages.size()));
    }
    return pages;
}

}  // namespace

QList<ReportPage> layOutReport(const ReportLayout& layout, const SightingTable& table,
                               const ReportValues& values, PrintCanvas& canvas) {
    return Builder(layout, table, values, canvas).run();
}

QString drawReport(const ReportLayout& layout, const QList<ReportPage>& pages,
                   PrintCanvas& canvas) {
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            canvas.newPage();
        }
        for (const ReportItem& item : pages[i]) {
            if (item.rule) {
                canvas.line(0, item.y, canvas.scaleWidth(), item.y);
                continue;
            }
            useFont(canvas, layout.fonts.value(item.font));
            canvas.setCurrentX(item.x);
            canvas.setCurrentY(item.y);
            canvas.print(item.text);
        }
    }
    canvas.endDoc();
    return canvas.failure();
}
