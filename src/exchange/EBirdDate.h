#pragma once

#include <QDate>
#include <QStringView>

// The dates and times of eBird's downloads, whatever the desktop's language.
namespace ebird {

// "2019-05-04" (the data download since March 2019), "05-04-2019" (month first, before then) or
// "4 May 2019" (the life list download; month names or their first three letters in English).
// An invalid date for any other text.
QDate dateOf(QStringView text);

// "07:35 AM", "19:05": minutes after midnight; -1 when there is no such time.
int minutesOf(QStringView text);

}  // namespace ebird
