#include "platform/PrinterCanvas.h"

#include <QPrinter>

namespace {

constexpr double kTwipsPerInch = 1440;

}  // namespace

PrinterCanvas::PrinterCanvas(QPrinter& printer) : m_printer(printer) {
    if (!m_painter.begin(&m_printer)) {
        fail(jobFailure());
        return;
    }
    // The painter works in twips from the top left of the printable area.
    const double scale = m_printer.resolution() / kTwipsPerInch;
    m_painter.scale(scale, scale);
    const QRect printable = m_printer.pageLayout().paintRectPixels(m_printer.resolution());
    m_size = QSizeF(printable.width() / scale, printable.height() / scale);
}

PrinterCanvas::~PrinterCanvas() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

QString PrinterCanvas::jobFailure() const {
    if (!m_printer.outputFileName().isEmpty()) {
        return QStringLiteral("The printout could not be written to the file '%1'.")
            .arg(m_printer.outputFileName());
    }
    return QStringLiteral("The printer '%1' did not take the print job.")
        .arg(m_printer.printerName());
}

void PrinterCanvas::paintText(QPointF baseline, const QString& text) {
    m_painter.setFont(font());
    m_painter.drawText(baseline, text);
}

void PrinterCanvas::paintLine(QPointF from, QPointF to) {
    m_painter.drawLine(from, to);
}

void PrinterCanvas::startPage() {
    if (!m_printer.newPage()) {
        fail(jobFailure());
    }
}

void PrinterCanvas::finish() {
    if (!m_painter.isActive()) {
        return;
    }
    if (!m_painter.end() || m_printer.printerState() == QPrinter::Error) {
        fail(jobFailure());
    }
}
