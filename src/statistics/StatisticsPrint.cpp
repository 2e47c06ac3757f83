#include "statistics/StatisticsPrint.h"

#include "platform/PrintCanvas.h"

#include <cmath>

namespace {

const QString kFont = QStringLiteral("Times New Roman");

// Whole twips, halves to the even one.
double whole(double twips) {
    return std::nearbyint(twips);
}

// One print run: the layout is measured once, before the first page.
class StatisticsPrinter {
public:
    StatisticsPrinter(PrintCanvas& canvas, const StatisticsReport& report, const PrintedPage& page)
        : m_canvas(canvas), m_report(report), m_page(page) {}

    QString run() {
        measureLayout();
        printPageHeader();
        for (const StatisticsReport::Section& section : m_report.sections) {
            printSection(section);
            if (!m_canvas.failure().isEmpty()) {
                return m_canvas.failure();
            }
        }
        printPageFooter();
        m_canvas.endDoc();
        return m_canvas.failure();
    }

private:
    void measureLayout() {
        const double longest = double(m_report.longestText());
        m_countOffset = (longest + 25) * 60;
        m_pageWidth = whole(m_canvas.scaleWidth());
        m_canvas.setFontSize(10);
        // Room for three lines of 10-point text at the foot of the page.
        m_footerTop = whole(m_canvas.scaleHeight()) - whole(3 * m_canvas.textHeight({}));
        m_leftX =
            whole((m_pageWidth - m_countOffset - m_canvas.textWidth(QStringLiteral("999"))) / 2);
    }

    void printCentred(const QString& text) {
        m_canvas.setCurrentX((m_pageWidth - m_canvas.textWidth(text)) / 2);
        m_canvas.print(text);
    }

    void printPageHeader() {
        m_canvas.setFontName(kFont);
        m_canvas.setFontSize(14);
        m_canvas.setFontBold(true);
        printCentred(m_report.title);
        m_canvas.setFontSize(10);
        printCentred(m_page.printedLine);
        m_canvas.setCurrentX(0);
        m_canvas.print(m_report.totalCaption);
        m_canvas.line(m_canvas.currentX(), m_canvas.currentY(), m_pageWidth, m_canvas.currentY());
        m_canvas.setCurrentX(0);
    }

    void printPageFooter() {
        ++m_pageNo;
        const QString pageText = QStringLiteral("Page No. %1").arg(m_pageNo);
        m_canvas.setCurrentX(0);
        m_canvas.setCurrentY(m_footerTop);
        m_canvas.line(0, m_footerTop, m_pageWidth, m_footerTop);
        m_canvas.setFontName(kFont);
        m_canvas.setFontSize(10);
        m_canvas.print({});
        m_canvas.setFontSize(8);
        m_canvas.setFontBold(false);
        m_canvas.print(m_page.credits);
        m_canvas.setFontSize(10);
        m_canvas.setFontBold(true);
        m_canvas.setCurrentX(m_pageWidth - m_canvas.textWidth(pageText) - 50);
        m_canvas.print(pageText);
    }

    void printSection(const StatisticsReport::Section& section) {
        m_canvas.setCurrentX(m_leftX);
        m_canvas.setFontName(kFont);
        m_canvas.setFontSize(10);
        m_canvas.setFontBold(true);
        m_heading = StatisticsReport::printedHeading(section);
        printStatLine(m_heading);
        for (const StatRow& row : section.rows) {
            m_canvas.setFontBold(false);
            m_lineTop = m_canvas.currentY();
            m_canvas.setCurrentX(m_leftX);
            printStatLine(row.text);
            // The count stands on the entry's line, right-aligned on the count column.
            m_canvas.setCurrentY(m_lineTop);
            m_canvas.setCurrentX(m_leftX + m_countOffset - m_canvas.textWidth(row.count));
            m_canvas.print(row.count);
            if (!m_canvas.failure().isEmpty()) {
                return;
            }
        }
        m_canvas.print({});
        m_heading.clear();
    }

    // Prints one line, first starting a new page when the line would reach into the footer.
    void printStatLine(const QString& text) {
        if (m_canvas.currentY() + m_canvas.textHeight(text) > m_footerTop) {
            const bool bold = m_canvas.fontBold();
            printPageFooter();
            m_canvas.newPage();
            printPageHeader();
            m_lineTop = m_canvas.currentY();
            m_canvas.setCurrentX(m_leftX);
            if (!m_heading.isEmpty() && m_heading != text) {
                m_canvas.setFontBold(true);
                m_canvas.print(m_heading);
                m_lineTop = m_canvas.currentY();
                m_canvas.setCurrentX(m_leftX);
            }
            m_canvas.setFontBold(bold);
        }
        m_canvas.print(text);
    }

    PrintCanvas& m_canvas;
    const StatisticsReport& m_report;
    const PrintedPage& m_page;
    double m_pageWidth = 0;
    double m_footerTop = 0;
    double m_leftX = 0;
    double m_countOffset = 0;
    double m_lineTop = 0;
    QString m_heading;
    int m_pageNo = 0;
};

}  // namespace

QString printStatistics(PrintCanvas& canvas, const StatisticsReport& report,
                        const PrintedPage& page) {
    return StatisticsPrinter(canvas, report, page).run();
}
