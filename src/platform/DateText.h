#pragma once

#include <QDateTime>

// Dates and times written as the desktop writes them.
namespace datetext {

// The desktop's short date: "12/6/26", "06/12/2026".
QString shortDate(QDate date);
// The short date, a space and the time with seconds (without a time zone): "12/6/26 10:15:00 AM".
QString dateTime(const QDateTime& moment);
// As dateTime, but a moment of exactly midnight is written as its date alone, as a date value
// written to a text file is.
QString dateTimeValue(const QDateTime& moment);

}  // namespace datetext
