#pragma once

#include "platform/PrintCanvas.h"

#include <QFont>
#include <QPointF>

// The position, font and text measures of a canvas, in twips; a font of n points is n × 20
// twips high. What is drawn goes to the subclass, which may paint it or keep it.
class TwipCanvas : public PrintCanvas {
public:
    TwipCanvas();

    void setFontName(const QString& name) override { m_font.setFamily(name); }
    void setFontSize(double points) override;
    void setFontBold(bool bold) override { m_font.setBold(bold); }
    void setFontItalic(bool italic) override { m_font.setItalic(italic); }
    bool fontBold() const override { return m_font.bold(); }
    double fontSize() const { return m_points; }
    const QFont& font() const { return m_font; }

    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setCurrentX(double x) override { m_x = x; }
    void setCurrentY(double y) override { m_y = y; }

    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;

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
    QFont m_font;
    double m_points = 10;
    double m_x = 0;
    double m_y = 0;
    QString m_failure;
};
