#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The status-bar hints of the record form, by control name.
namespace hints {

// What moving the mouse over a control does to the hint panel: a text to show (possibly empty,
// which empties the panel), or nothing (the panel keeps its text).
std::optional<QString> forMouseOver(const QString& controlName, bool searchMode);

// The hint of a combo box (cboOrder, cboMonth, ...) when it gets the focus.
QString forComboBox(const QString& comboName, bool searchMode);

// The message for a lookup box that refuses typed text while search targets are entered.
QString searchModeRefusal(const QString& comboName);

}  // namespace hints

// The fixed month and year lists of the record form.
QStringList monthNames();
// "1970" to the current year.
QStringList yearList(int currentYear);
