#include "search/SearchCriteria.h"

namespace search {

const QStringList& targetFields() {
    static const QStringList fields{
        QStringLiteral("CommonName"), QStringLiteral("AlternateName"), QStringLiteral("Order"),
        QStringLiteral("Family"),     QStringLiteral("Species"),       QStringLiteral("Location"),
        QStringLiteral("Country"),    QStringLiteral("Region"),        QStringLiteral("Month"),
        QStringLiteral("Year"),       QStringLiteral("Comments"),      QStringLiteral("Additional"),
    };
    return fields;
}

QString MakeSearchTarget(const QString& strTarget) {
    QString target = strTarget;
    target.replace(QLatin1Char('\''), QLatin1Char('?'));
    return QLatin1Char('*') + target + QLatin1Char('*');
}

Criteria buildCriteria(const std::function<QString(const QString& field)>& targetOf) {
    Criteria criteria;
    for (const QString& field : targetFields()) {
        const QString target = targetOf(field);
        if (!target.isEmpty()) {
            criteria &= Criteria::like(field, MakeSearchTarget(target));
        }
    }
    return criteria;
}

}  // namespace search
