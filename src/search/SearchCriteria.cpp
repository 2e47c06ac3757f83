#include "search/SearchCriteria.h"
#include "database/Schema.h"

namespace search {

const QStringList& targetFields() {
    static const QStringList fields{
        field::CommonName, field::AlternateName, field::Order,    field::Family,
        field::Species,    field::Location,      field::Country,  field::Region,
        field::Month,      field::Year,          field::Comments, field::Additional,
    };
    return fields;
}

QString MakeSearchTarget(const QString& searchTarget) {
    QString target = searchTarget;
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
