#pragma once

#include "platform/TwipCanvas.h"

#include <QPainter>

class QPrinter;

// A canvas that prints on a printer (or into the PDF file the print dialog chose).
class PrinterCanvas : public TwipCanvas {
public:
    explicit PrinterCanvas(QPrinter& printer);
    ~PrinterCanvas() override;

    double scaleWidth() const override { return m_size.width(); }
    double scaleHeight() const override { return m_size.height(); }

protected:
    void paintText(QPointF baseline, const QString& text) override;
    void paintLine(QPointF from, QPointF to) override;
    void startPage() override;
    void finish() override;

private:
    QString jobFailure() const;

    QPrinter& m_printer;
    QPainter m_painter;
    QSizeF m_size;
};
