#include "database/LikePattern.h"

namespace {

QList<char32_t> codePoints(const QString& text) {
    QList<char32_t> points;
    points.reserve(text.size());
    for (char32_t ch : text.toUcs4()) {
        points.append(ch);
    }
    return points;
}

}  // namespace

QString foldCase(const QString& text) {
    return text.toCaseFolded();
}

LikePattern::LikePattern(const QString& pattern) {
    const QList<char32_t> chars = codePoints(foldCase(pattern));
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const char32_t ch = chars[i];
        Token token;
        if (ch == U'*') {
            if (!m_tokens.isEmpty() && m_tokens.last().kind == Token::AnyRun) {
                continue;
            }
            token.kind = Token::AnyRun;
        } else if (ch == U'?') {
            token.kind = Token::AnyOne;
        } else if (ch == U'#') {
            token.kind = Token::Digit;
        } else if (ch == U'[') {
            const qsizetype close = chars.indexOf(U']', i + 1);
            if (close < 0) {
                token.ch = ch;
            } else {
                token.kind = Token::Set;
                qsizetype j = i + 1;
                if (j < close && chars[j] == U'!') {
                    token.negated = true;
                    ++j;
                }
                for (; j < close; ++j) {
                    if (j + 2 < close && chars[j + 1] == U'-') {
                        token.ranges.append(
                            {std::min(chars[j], chars[j + 2]), std::max(chars[j], chars[j + 2])});
                        j += 2;
                    } else {
                        token.ranges.append({chars[j], chars[j]});
                    }
                }
                i = close;
            }
        } else {
            token.ch = ch;
        }
        m_tokens.append(token);
    }
}

bool LikePattern::matchesOne(const Token& token, char32_t ch) const {
    switch (token.kind) {
        case Token::Literal:
            return token.ch == ch;
        case Token::AnyOne:
            return true;
        case Token::Digit:
            return ch >= U'0' && ch <= U'9';
        case Token::Set: {
            bool inSet = false;
            for (const auto& [low, high] : token.ranges) {
                if (ch >= low && ch <= high) {
                    inSet = true;
                    break;
                }
            }
            return inSet != token.negated;
        }
        case Token::AnyRun:
            break;
    }
    return false;
}

bool LikePattern::matches(const QString& text) const {
    const QList<char32_t> chars = codePoints(foldCase(text));
    // Greedy matching with one back-tracking point: the last "*" seen.
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starToken = -1;
    qsizetype starText = 0;
    while (t < chars.size()) {
        if (p < m_tokens.size() && m_tokens[p].kind == Token::AnyRun) {
            starToken = p++;
            starText = t;
        } else if (p < m_tokens.size() && matchesOne(m_tokens[p], chars[t])) {
            ++p;
            ++t;
        } else if (starToken >= 0) {
            p = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < m_tokens.size() && m_tokens[p].kind == Token::AnyRun) {
        ++p;
    }
    return p == m_tokens.size();
}
