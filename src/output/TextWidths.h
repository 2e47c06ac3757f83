#pragma once

#include <QHash>
#include <QString>
#include <vector>

class PrintCanvas;

// Whether texts fit in a room, in the canvas's current font, measuring as little as it can.
// For the Latin-1 letters of a font that shapes them pair by pair (kerning, but no ligatures
// or letters chosen by context), a text's width is the sum of its letters' advances and of
// what each pair of neighbours adds or takes away; both are measured once per font and letter
// or pair. The canvas says whether a font shapes so, and the first time a font is used a few
// texts are measured whole against that sum as well. A font that does not, and any text with
// other letters, is measured whole every time. Only a text whose sum lies within rounding of
// the room is measured whole too, so the answer is always the one measuring it would give.
class TextWidths {
public:
    // A text's worked-out width, and how far its shaped width may lie from it (infinite: not
    // worked out).
    struct Estimate {
        double width = 0;
        double doubt = 0;
    };

    explicit TextWidths(PrintCanvas& canvas) : m_canvas(canvas) {}

    // The canvas now draws in the font named `font`.
    void useFont(const QString& font);

    Estimate of(QStringView text);
    // `line`, whose last letter is `last`, followed by a space and `word`.
    Estimate joined(const Estimate& line, QChar last, QStringView word);

    // Whether `text`, as estimated, fits in `room`.
    bool fits(QStringView text, const Estimate& estimate, double room) const;
    bool fits(QStringView text, double room) { return fits(text, of(text), room); }
    // The length of the longest start of `text` that fits in `room`, at least one character
    // (two for a character beyond the basic plane, whose halves are never parted). Only starts
    // up to twice that length are looked at, so breaking a long word costs time in proportion
    // to its length, not to its square.
    qsizetype fitting(QStringView text, double room);

private:
    static constexpr char16_t kLetters = 0x100;

    struct Font {
        bool pairwise = false;
        std::vector<double> advances;  // by letter; NaN: not measured yet
        // By first letter, then second letter; a first letter's row is made when first needed.
        std::vector<std::vector<double>> pairs;
    };

    double advance(char16_t letter);
    double pair(char16_t first, char16_t second);
    double sum(QStringView text);
    bool checkPairwise();

    PrintCanvas& m_canvas;
    QHash<QString, Font> m_fonts;
    Font* m_font = nullptr;
};
