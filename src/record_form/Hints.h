#pragma once

#include <QString>
#include <QStringList>

// The status-bar hints of the record form's combo boxes.
namespace hints {

// The hint of the combo box of `field` (Order, Month, ...): a fixed list only offers its
// entries; a lookup list also takes new ones, except while search targets are typed.
QString forComboBox(const QString& field, bool fixedList, bool searchMode);

// The message for a lookup box that refuses typed text while search targets are entered.
QString searchModeRefusal(const QString& field);

}  // namespace hints

// The fixed month and year lists of the record form.
QStringList monthNames();
// "1970" to the current year, reaching back or on to hold the years a life list has.
QStringList yearList(int currentYear, int firstListed = 1970, int lastListed = 0);
