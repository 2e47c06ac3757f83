#include "output/LayoutLine.h"

#include <QRegularExpression>

LayoutLine::LayoutLine(const QString& line) {
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i].isSpace()) {
            ++i;
        } else if (line[i] == u'#') {
            break;
        } else if (line[i] == u'"') {
            Token token{{}, true};
            for (++i;; ++i) {
                if (i >= line.size()) {
                    throw LayoutMistake{QStringLiteral("a text in quotes is not closed")};
                }
                if (line[i] == u'"') {
                    if (i + 1 >= line.size() || line[i + 1] != u'"') {
                        ++i;
                        break;
                    }
                    ++i;
                }
                token.text += line[i];
            }
            m_tokens.append(token);
        } else {
            const qsizetype start = i;
            while (i < line.size() && !line[i].isSpace() && line[i] != u'"') {
                ++i;
            }
            m_tokens.append({line.mid(start, i - start), false});
        }
    }
}

const LayoutLine::Token& LayoutLine::next(const QString& expected) {
    if (atEnd()) {
        throw LayoutMistake{QStringLiteral("%1 is missing").arg(expected)};
    }
    return m_tokens[m_at++];
}

QString LayoutLine::word(const QString& expected) {
    return next(expected).text;
}

QString LayoutLine::quoted(const QString& expected) {
    const Token& token = next(expected);
    if (!token.quoted) {
        throw LayoutMistake{
            QStringLiteral("%1 must be in double quotes, not '%2'").arg(expected, token.text)};
    }
    return token.text;
}

bool LayoutLine::takeWord(const QString& word) {
    if (atEnd() || m_tokens[m_at].quoted || m_tokens[m_at].text != word) {
        return false;
    }
    ++m_at;
    return true;
}

double LayoutLine::number(const QString& text, const QString& what) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value < 0) {
        throw LayoutMistake{QStringLiteral("'%1' is not %2").arg(text, what)};
    }
    return value;
}

double LayoutLine::length(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^([0-9.]+)(in|mm|cm|pt)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        throw LayoutMistake{
            QStringLiteral("'%1' is not a length such as 0.5in, 12mm, 1.5cm or 36pt").arg(text)};
    }
    const double value = number(match.captured(1), QStringLiteral("a number"));
    const QString unit = match.captured(2);
    const double perUnit = unit == u"in"   ? 1440
                           : unit == u"mm" ? 1440 / 25.4
                           : unit == u"cm" ? 1440 / 2.54
                                           : 20;
    return value * perUnit;
}
