#pragma once

#include <QList>
#include <QString>

// A pattern of the engine's LIKE: "*" any run of characters, "?" one character, "#" one digit,
// "[abc]", "[a-z]" one character of a list, "[!abc]" one character not in it. Matching ignores
// letter case for every letter. A "[" without its "]" stands for itself.
class LikePattern {
public:
    explicit LikePattern(const QString& pattern);
    bool matches(const QString& text) const;

private:
    struct Token {
        enum Kind { Literal, AnyRun, AnyOne, Digit, Set } kind = Literal;
        char32_t ch = 0;
        bool negated = false;
        QList<std::pair<char32_t, char32_t>> ranges;
    };
    bool matchesOne(const Token& token, char32_t ch) const;

    QList<Token> m_tokens;
};

// A text folded for comparisons that ignore letter case.
QString foldCase(const QString& text);
