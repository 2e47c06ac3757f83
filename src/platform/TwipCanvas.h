#pragma once

#include "platform/PrintCanvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <optional>

// The position, font and text measures of a canvas, in twips; a font of n points is n × 20
// twips high. What is drawn goes to the subclass, which may paint it or keep it.
class TwipCanvas : public PrintCanvas {
public:
    TwipCanvas();

    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void setFontBold(bool bold) override;
    void setFontItalic(bool italic) override;
    bool fontBold() const override { return m_font.bold(); }
    double fontSize() const { return m_points; }
    const QFont& font() const { return m_font; }

    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setCurrentX(double x) override { m_x = x; }
    void setCurrentY(double y) override { m_y = y; }

    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    bool shapesPairwise() const override;

    void print(const QString& text) override;
    void line(double x1, double y1, double x2, double y2) override;
    void newPage() override;
    void endDoc() override { finish(); }

    QString failure() const override { return m_failure; }

protected:
    // `baseline` is where the text's baseline starts.
    virtual void paintText(QPointF baseline, const QString& text) = 0;
    virtual void paintLine(QPointF from, QPointF to) = 0;
    virtual void startPage() = 0;
    virtual void finish() = 0;
    void fail(const QString& reason) {
        if (m_failure.isEmpty()) {
            m_failure = reason;
        }
    }

private:
    // The measures of the current font, worked out once per font.
    const QFontMetricsF& metrics() const;

    QFont m_font;
    mutable std::optional<QFontMetricsF> m_metrics;
    double m_points = 10;
    double m_x = 0;
    double m_y = 0;
    QString m_failure;
};
