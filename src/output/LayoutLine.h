#pragma once

#include <QList>
#include <QString>

// A mistake on one line of a layout file: what is wrong there.
struct LayoutMistake {
    QString what;
};

// One line of a layout file as words and quoted texts, read from the left. A "#" outside quotes
// starts a comment; inside quotes, "" is a quote. Every read that fails throws LayoutMistake.
class LayoutLine {
public:
    LayoutLine() = default;
    explicit LayoutLine(const QString& line);

    bool atEnd() const { return m_at >= m_tokens.size(); }
    // The next word or text; `expected` names it when the line ends before it.
    QString word(const QString& expected);
    // The next text, which must be in quotes.
    QString quoted(const QString& expected);
    // Takes the next word when it is `word` (not in quotes).
    bool takeWord(const QString& word);

    // A number of at least 0; `what` names it in the mistake.
    static double number(const QString& text, const QString& what);
    // A length with its unit (in, mm, cm, pt), in twips.
    static double length(const QString& text);

private:
    struct Token {
        QString text;
        bool quoted = false;
    };
    const Token& next(const QString& expected);

    QList<Token> m_tokens;
    qsizetype m_at = 0;
};
