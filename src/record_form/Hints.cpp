#include "record_form/Hints.h"

#include <algorithm>

namespace hints {

QString forComboBox(const QString& field, bool fixedList, bool searchMode) {
    if (fixedList) {
        return QStringLiteral("Select %1 from drop-down list").arg(field);
    }
    return searchMode
               ? QStringLiteral("In search mode, %1 can only be selected from drop-down list")
                     .arg(field)
               : QStringLiteral("Select %1 from drop-down list or type new entry").arg(field);
}

QString searchModeRefusal(const QString& field) {
    return forComboBox(field, false, true) + QLatin1Char('.');
}

}  // namespace hints

QStringList monthNames() {
    return {QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
            QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
            QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
            QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
}

QStringList yearList(int currentYear, int firstListed, int lastListed) {
    QStringList years;
    const int last = std::max({currentYear, lastListed, 1970});
    for (int year = std::min(firstListed, 1970); year <= last; ++year) {
        years.append(QString::number(year));
    }
    return years;
}
