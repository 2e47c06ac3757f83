#include "record_form/Hints.h"

#include <QHash>

namespace {

// The lookup field a combo box or its rectangle label belongs to ("Order" for cboOrder and
// lblOrderRect).
QString fieldOf(const QString& name) {
    if (name.startsWith(QLatin1String("cbo"))) {
        return name.mid(3);
    }
    if (name.startsWith(QLatin1String("lbl")) && name.endsWith(QLatin1String("Rect"))) {
        return name.mid(3, name.size() - 7);
    }
    return {};
}

bool isLookupField(const QString& field) {
    return field == QLatin1String("Order") || field == QLatin1String("Family") ||
           field == QLatin1String("Country") || field == QLatin1String("Region");
}

const QHash<QString, QString>& buttonHints() {
    static const QHash<QString, QString> table{
        {QStringLiteral("cmdFirst"), QStringLiteral("Displays your first sighting record")},
        {QStringLiteral("cmdPrevious"), QStringLiteral("Displays your previous sighting record")},
        {QStringLiteral("cmdNext"), QStringLiteral("Displays your next sighting record")},
        {QStringLiteral("cmdLast"), QStringLiteral("Displays your most recent sighting record")},
        {QStringLiteral("cmdFindFirst"),
         QStringLiteral("Displays the first sighting record that matches your search targets")},
        {QStringLiteral("cmdFindPrevious"),
         QStringLiteral("Displays the previous sighting record that matches your search targets")},
        {QStringLiteral("cmdFindNext"),
         QStringLiteral("Displays the next sighting record that matches your search targets")},
        {QStringLiteral("cmdFindLast"),
         QStringLiteral(
             "Displays the most recent sighting record that matches your search targets")},
        {QStringLiteral("cmdSearch"),
         QStringLiteral("Allows you to enter search targets to locate specific sighting records")},
        {QStringLiteral("cmdCancelSearch"),
         QStringLiteral("Cancels search mode and returns to life list records")},
        {QStringLiteral("cmdAdd"), QStringLiteral("Creates a new sighting record")},
        {QStringLiteral("cmdUpdate"),
         QStringLiteral("Adds this sighting record to your life list")},
        {QStringLiteral("cmdCancel"),
         QStringLiteral("Cancels this new sighting record and does not add it to your life list")},
        {QStringLiteral("cmdDelete"),
         QStringLiteral("Deletes the current sighting from your life list")},
        {QStringLiteral("cmdAddImage"),
         QStringLiteral("Adds an image link to this sighting record")},
        {QStringLiteral("cmdViewImages"),
         QStringLiteral("View images linked with the current sighting record")},
        {QStringLiteral("cmdStatistics"), QStringLiteral("Displays your Lifetime Statistics form")},
        {QStringLiteral("cmdReport"),
         QStringLiteral("Displays your complete life list (preview of printed version)")},
    };
    return table;
}

const QStringList& emptyingControls() {
    static const QStringList names{
        QStringLiteral("frmMain"),       QStringLiteral("frmName"),
        QStringLiteral("frmTaxonomy"),   QStringLiteral("frmFirstSighting"),
        QStringLiteral("frmAdditional"), QStringLiteral("lblLocation"),
        QStringLiteral("txtLocation"),   QStringLiteral("lblSpecies"),
        QStringLiteral("txtSpecies"),    QStringLiteral("lblComments"),
        QStringLiteral("txtComments"),
    };
    return names;
}

}  // namespace

namespace hints {

QString forComboBox(const QString& comboName, bool searchMode) {
    const QString field = fieldOf(comboName);
    if (!isLookupField(field)) {
        return QStringLiteral("Select %1 from drop-down list").arg(field);
    }
    return searchMode
               ? QStringLiteral("In search mode, %1 can only be selected from drop-down list")
                     .arg(field)
               : QStringLiteral("Select %1 from drop-down list or type new entry").arg(field);
}

QString searchModeRefusal(const QString& comboName) {
    return forComboBox(comboName, true) + QLatin1Char('.');
}

std::optional<QString> forMouseOver(const QString& controlName, bool searchMode) {
    const auto button = buttonHints().constFind(controlName);
    if (button != buttonHints().constEnd()) {
        return *button;
    }
    if (controlName.startsWith(QLatin1String("lbl")) &&
        controlName.endsWith(QLatin1String("Rect")) && !fieldOf(controlName).isEmpty()) {
        return forComboBox(controlName, searchMode);
    }
    if (emptyingControls().contains(controlName)) {
        return QString();
    }
    return std::nullopt;
}

}  // namespace hints

QStringList monthNames() {
    return {QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
            QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
            QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
            QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
}

QStringList yearList(int currentYear) {
    QStringList years;
    for (int year = 1970; year <= std::max(currentYear, 1970); ++year) {
        years.append(QString::number(year));
    }
    return years;
}
