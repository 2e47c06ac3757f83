#include "platform/DateText.h"

#include <QLocale>
#include <QRegularExpression>

namespace datetext {

QString shortDate(QDate date) {
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString dateTime(const QDateTime& moment) {
    const QLocale locale = QLocale::system();
    // The long time format with its seconds, without the zone that Qt's long format adds.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    const QString format = locale.timeFormat(QLocale::LongFormat).remove(zone).trimmed();
    return shortDate(moment.date()) + u' ' + locale.toString(moment.time(), format);
}

QString dateTimeValue(const QDateTime& moment) {
    return moment.time() == QTime(0, 0) ? shortDate(moment.date()) : dateTime(moment);
}

}  // namespace datetext
