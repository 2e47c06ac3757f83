#pragma once

#include <QString>

// A printer's page as the program draws on it: coordinates in twips (1/1440 inch) from the top
// left of the printable area, a current position and a current font. Printing a text draws it
// with its top at the current position and moves to the start of the next line.
//
// A failure of the print job is kept: drawing after it does nothing, and `failure` tells what
// went wrong (empty while all is well).
class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;

    virtual double scaleWidth() const = 0;
    virtual double scaleHeight() const = 0;

    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool bold) = 0;
    virtual void setFontItalic(bool italic) = 0;
    virtual bool fontBold() const = 0;

    virtual double currentX() const = 0;
    virtual double currentY() const = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;

    // The size of a text in the current font; the height of an empty text is one line.
    virtual double textWidth(const QString& text) const = 0;
    virtual double textHeight(const QString& text) const = 0;
    // Whether the current font shapes the Latin-1 letters pair by pair: kerning, but no
    // ligatures or letters chosen by their neighbours. Then a text is as wide as its letters and
    // the kerning of each pair of neighbours.
    virtual bool shapesPairwise() const { return false; }

    // Draws `text` at the current position, then moves to the left edge of the next line.
    virtual void print(const QString& text) = 0;
    // Draws a line; the current position becomes its end.
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void newPage() = 0;
    // Ends the document and hands it to the printer.
    virtual void endDoc() = 0;

    virtual QString failure() const = 0;
};
