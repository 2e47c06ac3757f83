#include "platform/TwipCanvas.h"

#include <QRawFont>

namespace {

constexpr double kTwipsPerPoint = 20;

}  // namespace

TwipCanvas::TwipCanvas() : m_font(QStringLiteral("Times New Roman")) {
    setFontSize(10);
}

void TwipCanvas::setFontName(const QString& name) {
    if (name != m_font.family()) {
        m_font.setFamily(name);
        m_metrics.reset();
    }
}

void TwipCanvas::setFontSize(double points) {
    if (points != m_points || !m_metrics) {
        m_points = points;
        m_font.setPixelSize(qRound(points * kTwipsPerPoint));
        m_metrics.reset();
    }
}

void TwipCanvas::setFontBold(bool bold) {
    if (bold != m_font.bold()) {
        m_font.setBold(bold);
        m_metrics.reset();
    }
}

void TwipCanvas::setFontItalic(bool italic) {
    if (italic != m_font.italic()) {
        m_font.setItalic(italic);
        m_metrics.reset();
    }
}

const QFontMetricsF& TwipCanvas::metrics() const {
    if (!m_metrics) {
        m_metrics.emplace(m_font);
    }
    return *m_metrics;
}

double TwipCanvas::textWidth(const QString& text) const {
    return metrics().horizontalAdvance(text);
}

bool TwipCanvas::shapesPairwise() const {
    // The features of the font's substitution table (OpenType GSUB: the offset of its feature
    // list at byte 6; the list is a count, then tags of 4 bytes each followed by an offset):
    // the ones shaping turns on by default that join letters or pick them by context.
    const QByteArray table = QRawFont::fromFont(m_font).fontTable("GSUB");
    const auto number = [&table](qsizetype at) {
        return at >= 0 && at + 1 < table.size() ? uchar(table[at]) << 8 | uchar(table[at + 1]) : -1;
    };
    if (table.isEmpty()) {
        return true;
    }
    const int list = number(6);
    const int count = number(list);
    if (count < 0) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const QByteArray tag = table.mid(list + 2 + i * 6, 4);
        if (tag.size() < 4 || tag == "liga" || tag == "clig" || tag == "calt" || tag == "rlig" ||
            tag == "rclt") {
            return false;
        }
    }
    return true;
}

double TwipCanvas::textHeight(const QString& text) const {
    const int lines = text.isEmpty() ? 1 : int(text.count(u'\n')) + 1;
    return metrics().height() * lines;
}

void TwipCanvas::print(const QString& text) {
    if (m_failure.isEmpty() && !text.isEmpty()) {
        paintText(QPointF(m_x, m_y + metrics().ascent()), text);
    }
    m_y += textHeight(text);
    m_x = 0;
}

void TwipCanvas::line(double x1, double y1, double x2, double y2) {
    if (m_failure.isEmpty()) {
        paintLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    m_x = x2;
    m_y = y2;
}

void TwipCanvas::newPage() {
    if (m_failure.isEmpty()) {
        startPage();
    }
    m_x = 0;
    m_y = 0;
}
