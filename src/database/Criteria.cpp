#include "database/Criteria.h"

#include "database/LikePattern.h"

#include <QStringList>

namespace {

bool isText(const QVariant& value) {
    return value.metaType().id() == QMetaType::QString;
}

QString literal(const QVariant& value) {
    if (isText(value)) {
        QString text = value.toString();
        text.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    }
    return value.toString();
}

}  // namespace

QString quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString quoteIdentifiers(const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names) {
        quoted.append(quoteIdentifier(name));
    }
    return quoted.join(QStringLiteral(", "));
}

Criteria Criteria::equals(const QString& field, const QVariant& value) {
    Criteria criteria;
    criteria.m_terms.append({Term::Equals, field, value});
    return criteria;
}

Criteria Criteria::like(const QString& field, const QString& pattern) {
    Criteria criteria;
    criteria.m_terms.append({Term::Like, field, pattern});
    return criteria;
}

Criteria Criteria::operator&&(const Criteria& other) const {
    Criteria joined = *this;
    joined &= other;
    return joined;
}

Criteria& Criteria::operator&=(const Criteria& other) {
    m_terms.append(other.m_terms);
    return *this;
}

QString Criteria::text() const {
    QStringList parts;
    for (const Term& term : m_terms) {
        const QString op =
            term.kind == Term::Like ? QStringLiteral(" LIKE ") : QStringLiteral(" = ");
        parts.append(QLatin1Char('[') + term.field + QLatin1Char(']') + op + literal(term.value));
    }
    return parts.join(QStringLiteral(" AND "));
}

QString Criteria::sqlCondition() const {
    if (m_terms.isEmpty()) {
        return QStringLiteral("1");
    }
    QStringList parts;
    for (const Term& term : m_terms) {
        const QString field = quoteIdentifier(term.field);
        if (term.kind == Term::Like) {
            parts.append(QStringLiteral("plovix_like(?, %1)").arg(field));
        } else if (isText(term.value)) {
            parts.append(QStringLiteral("plovix_fold(%1) = ?").arg(field));
        } else if (term.value.isNull()) {
            parts.append(QStringLiteral("%1 IS NULL").arg(field));
        } else {
            parts.append(QStringLiteral("%1 = ?").arg(field));
        }
    }
    return QLatin1Char('(') + parts.join(QStringLiteral(") AND (")) + QLatin1Char(')');
}

QVariantList Criteria::sqlParameters() const {
    QVariantList parameters;
    for (const Term& term : m_terms) {
        if (term.kind == Term::Like) {
            parameters.append(term.value.toString());
        } else if (isText(term.value)) {
            parameters.append(foldCase(term.value.toString()));
        } else if (!term.value.isNull()) {
            parameters.append(term.value);
        }
    }
    return parameters;
}
