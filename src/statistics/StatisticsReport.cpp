#include "statistics/StatisticsReport.h"

#include <algorithm>

qsizetype StatisticsReport::longestText() const {
    qsizetype longest = 0;
    for (const Section& section : sections) {
        for (const StatRow& row : section.rows) {
            longest = std::max(longest, characterCount(row.text));
        }
    }
    return longest;
}

bool StatisticsReport::isCalendar(const Section& section) {
    return section.name == u"Years" || section.name == u"Months";
}

namespace {

// "Yearly Totals" for "Years", "Monthly Totals" for "Months".
QString totalsHeading(const QString& name) {
    return name.chopped(1) + QStringLiteral("ly Totals");
}

// Lines of text in which the next item can be placed in a given column, as a tab stop would.
class TextLines {
public:
    void write(const QString& text) { m_line += text; }
    // Spaces up to column `column` (counted from 1); when the line is already that long, the
    // next item goes into the same column of a new line.
    void tabTo(qsizetype column) {
        if (characterCount(m_line) >= column) {
            endLine();
        }
        m_line += QString(column - 1 - characterCount(m_line), u' ');
    }
    void endLine() {
        m_text += m_line.toUtf8() + "\r\n";
        m_line.clear();
    }
    QByteArray text() const { return m_text; }

private:
    QString m_line;
    QByteArray m_text;
};

}  // namespace

QString StatisticsReport::printedHeading(const Section& section) {
    if (isCalendar(section)) {
        return totalsHeading(section.name);
    }
    return QStringLiteral("%1 %2 (Number of Sightings)").arg(section.rows.size()).arg(section.name);
}

QByteArray statisticsText(const StatisticsReport& report, const QString& printedLine) {
    const qsizetype column = report.longestText() + 5;
    TextLines out;
    for (const QString& line : {report.title, printedLine, report.totalCaption, QString()}) {
        out.write(line);
        out.endLine();
    }
    for (const StatisticsReport::Section& section : report.sections) {
        // A number is written with room for its sign before it and a space after it.
        out.write(
            StatisticsReport::isCalendar(section)
                ? totalsHeading(section.name).toUpper()
                : QStringLiteral(" %1 %2").arg(section.rows.size()).arg(section.name.toUpper()));
        out.tabTo(column);
        out.write(QStringLiteral("Number of Sightings"));
        out.endLine();
        for (const StatRow& row : section.rows) {
            out.write(row.text);
            out.tabTo(column);
            out.write(row.count);
            out.endLine();
        }
        out.endLine();
    }
    return out.text();
}
