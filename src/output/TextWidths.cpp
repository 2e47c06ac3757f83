#include "output/TextWidths.h"

#include "platform/PrintCanvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinite = std::numeric_limits<double>::infinity();
// Rounding in the shaper, in twips per letter.
constexpr double kRounding = 0.01;

// Texts in which a font that does more than pair kerning shows it: the common ligatures and
// the pairs kerned most, next to spaces and each other.
const char16_t* const kProbes[] = {u"office affluent fjord ffl fi fl ft st ct Th",
                                   u"AVATAR To Ty Yo Wa LT P. \"A\" 'Y' (J) f) 1/4 -->",
                                   u"Puffinus puffinus, Cöte d'Ivoire. Señor Núñez; æ ß œ"};

}  // namespace

void TextWidths::useFont(const QString& font) {
    auto found = m_fonts.find(font);
    if (found == m_fonts.end()) {
        found = m_fonts.insert(font, Font{false, std::vector<double>(kLetters, kUnknown),
                                          std::vector<std::vector<double>>(kLetters)});
        m_font = &*found;
        m_font->pairwise = m_canvas.shapesPairwise() && checkPairwise();
    }
    m_font = &*found;
}

double TextWidths::advance(char16_t letter) {
    double& width = m_font->advances[letter];
    if (std::isnan(width)) {
        width = m_canvas.textWidth(QString(QChar(letter)));
    }
    return width;
}

double TextWidths::pair(char16_t first, char16_t second) {
    std::vector<double>& row = m_font->pairs[first];
    if (row.empty()) {
        row.assign(kLetters, kUnknown);
    }
    double& change = row[second];
    if (std::isnan(change)) {
        const QChar both[] = {QChar(first), QChar(second)};
        change = m_canvas.textWidth(QString(both, 2)) - advance(first) - advance(second);
    }
    return change;
}

// The worked-out width of a text of known letters only; NaN when it has others.
double TextWidths::sum(QStringView text) {
    double width = 0;
    char16_t previous = 0;
    for (const QChar letter : text) {
        const char16_t code = letter.unicode();
        if (code >= kLetters) {
            return kUnknown;
        }
        width += advance(code) + (previous ? pair(previous, code) : 0);
        previous = code;
    }
    return width;
}

bool TextWidths::checkPairwise() {
    for (const char16_t* probe : kProbes) {
        const QString text = QString::fromUtf16(probe);
        if (std::abs(m_canvas.textWidth(text) - sum(text)) > kRounding * double(text.size())) {
            return false;
        }
    }
    return true;
}

TextWidths::Estimate TextWidths::of(QStringView text) {
    const double width = m_font->pairwise ? sum(text) : kUnknown;
    if (std::isnan(width)) {
        return {0, kInfinite};
    }
    return {width, kRounding * double(text.size() + 1)};
}

TextWidths::Estimate TextWidths::joined(const Estimate& line, QChar last, QStringView word) {
    const Estimate added = of(word);
    if (std::isinf(line.doubt) || std::isinf(added.doubt) || word.isEmpty() ||
        last.unicode() >= kLetters) {
        return {0, kInfinite};
    }
    const double space = advance(u' ') + pair(last.unicode(), u' ') + pair(u' ', word[0].unicode());
    return {line.width + space + added.width, line.doubt + added.doubt};
}

bool TextWidths::fits(QStringView text, const Estimate& estimate, double room) const {
    if (estimate.width + estimate.doubt <= room) {
        return true;
    }
    if (estimate.width - estimate.doubt > room) {
        return false;
    }
    return m_canvas.textWidth(text.toString()) <= room;
}

qsizetype TextWidths::fitting(QStringView text, double room) {
    const auto startFits = [&](qsizetype length) { return fits(text.first(length), room); };
    // Lengths known to fit and known not to; the first found by doubling, then the gap halved.
    qsizetype fit = 0;
    qsizetype over = text.size() + 1;
    for (qsizetype length = 1; length < over;) {
        if (!startFits(length)) {
            over = length;
            break;
        }
        fit = length;
        if (length == text.size()) {
            break;
        }
        length = std::min(2 * length, text.size());
    }
    while (over - fit > 1) {
        const qsizetype middle = fit + (over - fit) / 2;
        (startFits(middle) ? fit : over) = middle;
    }
    fit = std::max<qsizetype>(fit, 1);
    // A character beyond the basic plane stays whole.
    if (fit < text.size() && text[fit - 1].isHighSurrogate()) {
        fit += fit == 1 ? 1 : -1;
    }
    return fit;
}
