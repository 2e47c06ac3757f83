#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// A record condition built as a value, never as SQL text: terms "field = value" and
// "field LIKE pattern" joined with AND. Text comparisons ignore letter case for every letter;
// LIKE patterns use "*" and "?" (see LikePattern). An empty Criteria matches every record.
class Criteria {
public:
    struct Term {
        enum Kind { Equals, Like } kind = Equals;
        QString field;
        QVariant value;
        friend bool operator==(const Term&, const Term&) = default;
    };

    Criteria() = default;
    // field = value; a text value compares ignoring case, a number exactly.
    static Criteria equals(const QString& field, const QVariant& value);
    // field LIKE pattern.
    static Criteria like(const QString& field, const QString& pattern);

    // Both conditions.
    Criteria operator&&(const Criteria& other) const;
    Criteria& operator&=(const Criteria& other);

    bool isEmpty() const { return m_terms.isEmpty(); }
    const QList<Term>& terms() const { return m_terms; }

    // The condition in the engine's own dialect, for showing and logging only:
    // [Country] = 'Côte d''Ivoire' AND [CommonName] LIKE '*Warbler*'
    QString text() const;

    // The condition as an SQL expression with "?" placeholders, and the values for them.
    QString sqlCondition() const;
    QVariantList sqlParameters() const;

    friend bool operator==(const Criteria&, const Criteria&) = default;

private:
    QList<Term> m_terms;
};

// A field or table name quoted for SQL.
QString quoteIdentifier(const QString& name);
// Field names quoted for SQL, joined by commas.
QString quoteIdentifiers(const QStringList& names);
