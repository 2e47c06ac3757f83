#include "platform/TwipCanvas.h"

#include <QFontMetricsF>

namespace {

constexpr double kTwipsPerPoint = 20;

}  // namespace

TwipCanvas::TwipCanvas() : m_font(QStringLiteral("Times New Roman")) {
    setFontSize(10);
}

void TwipCanvas::setFontSize(double points) {
    m_points = points;
    m_font.setPixelSize(qRound(points * kTwipsPerPoint));
}

double TwipCanvas::textWidth(const QString& text) const {
    return QFontMetricsF(m_font).horizontalAdvance(text);
}

double TwipCanvas::textHeight(const QString& text) const {
    const int lines = text.isEmpty() ? 1 : int(text.count(u'\n')) + 1;
    return QFontMetricsF(m_font).height() * lines;
}

void TwipCanvas::print(const QString& text) {
    if (m_failure.isEmpty() && !text.isEmpty()) {
        paintText(QPointF(m_x, m_y + QFontMetricsF(m_font).ascent()), text);
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
