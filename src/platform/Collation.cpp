#include "platform/Collation.h"

#include <QCollator>
#include <QLocale>

namespace collation {

namespace {

QCollator makeCollator() {
    QLocale locale;
    if (locale.language() == QLocale::C) {
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    }
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

}  // namespace

bool before(const QString& a, const QString& b) {
    // One collator for the whole run, made on first use (lists are sorted on the GUI thread).
    static const QCollator collator = makeCollator();
    const int order = collator.compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

}  // namespace collation
