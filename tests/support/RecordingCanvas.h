#pragma once

#include "platform/TwipCanvas.h"

#include <QFontMetricsF>
#include <QStringList>

using namespace Qt::StringLiterals;

// A page that keeps what is drawn on it, one line of text per item, in twips.
class RecordingCanvas : public TwipCanvas {
public:
    double scaleWidth() const override { return 11520; }
    double scaleHeight() const override { return 14400; }
    QStringList items;  // "page|x|y|bold|text", "page|line|y"
    int pages = 1;

protected:
    void paintText(QPointF at, const QString& text) override {
        const double top = at.y() - QFontMetricsF(font()).ascent();
        items.append(
            u"%1|%2|%3|%4|%5"_s.arg(pages).arg(at.x()).arg(top).arg(font().bold()).arg(text));
    }
    void paintLine(QPointF from, QPointF) override {
        items.append(u"%1|line|%2"_s.arg(pages).arg(from.y()));
    }
    void startPage() override { ++pages; }
    void finish() override {}
};
