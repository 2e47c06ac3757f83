#include "exchange/EBirdDate.h"

#include <QList>
#include <QString>

namespace ebird {

namespace {

// The number written in 1 to `longest` ASCII digits; -1 for anything else.
int digits(QStringView text, qsizetype longest) {
    if (text.isEmpty() || text.size() > longest) {
        return -1;
    }
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return -1;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// 1 for "January", "Jan" or "jan." and so on; 0 for no English month name.
int monthNamed(QStringView name) {
    static const QLatin1String kMonths[] = {
        QLatin1String("january"), QLatin1String("february"), QLatin1String("march"),
        QLatin1String("april"),   QLatin1String("may"),      QLatin1String("june"),
        QLatin1String("july"),    QLatin1String("august"),   QLatin1String("september"),
        QLatin1String("october"), QLatin1String("november"), QLatin1String("december")};
    if (name.endsWith(u'.')) {
        name.chop(1);
    }
    for (int month = 1; month <= 12; ++month) {
        const QLatin1String full = kMonths[month - 1];
        if (name.compare(full, Qt::CaseInsensitive) == 0 ||
            name.compare(full.first(3), Qt::CaseInsensitive) == 0 ||
            (month == 9 && name.compare(full.first(4), Qt::CaseInsensitive) == 0)) {
            return month;
        }
    }
    return 0;
}

// The date when all three numbers were read and make one; an invalid date otherwise (QDate takes
// a negative year as one before Christ).
QDate dateFrom(int year, int month, int day) {
    return year > 0 && month > 0 && day > 0 ? QDate(year, month, day) : QDate();
}

}  // namespace

QDate dateOf(QStringView text) {
    text = text.trimmed();
    const QList<QStringView> numbers = text.split(u'-');
    if (numbers.size() == 3) {
        if (numbers[0].size() == 4) {
            return dateFrom(digits(numbers[0], 4), digits(numbers[1], 2), digits(numbers[2], 2));
        }
        if (numbers[2].size() == 4) {
            return dateFrom(digits(numbers[2], 4), digits(numbers[0], 2), digits(numbers[1], 2));
        }
        return {};
    }
    const QList<QStringView> words = text.split(u' ', Qt::SkipEmptyParts);
    if (words.size() == 3 && words[2].size() == 4) {
        return dateFrom(digits(words[2], 4), monthNamed(words[1]), digits(words[0], 2));
    }
    return {};
}

int minutesOf(QStringView text) {
    text = text.trimmed();
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1) {
        return -1;
    }
    bool hoursOk = false;
    bool minutesOk = false;
    int hours = text.first(colon).toInt(&hoursOk);
    const int minutes =
        text.sliced(colon + 1, std::min<qsizetype>(2, text.size() - colon - 1)).toInt(&minutesOk);
    // Out of a day's range it is no time (and "99999999:00" would overflow the minutes).
    if (!hoursOk || !minutesOk || hours < 0 || hours > 23 || minutes < 0 || minutes > 59) {
        return -1;
    }
    if (text.endsWith(QLatin1String("PM"), Qt::CaseInsensitive) && hours < 12) {
        hours += 12;
    } else if (text.endsWith(QLatin1String("AM"), Qt::CaseInsensitive) && hours == 12) {
        hours = 0;
    }
    return hours * 60 + minutes;
}

}  // namespace ebird
