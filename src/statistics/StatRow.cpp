#include "statistics/StatRow.h"

#include <algorithm>

void sortByCount(QList<StatRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const StatRow& a, const StatRow& b) {
        return a.count.toLongLong() > b.count.toLongLong();
    });
}

qsizetype characterCount(const QString& text) {
    return text.size() -
           std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
}
