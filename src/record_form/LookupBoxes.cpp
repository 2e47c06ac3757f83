#include "record_form/LookupBoxes.h"
#include "database/Schema.h"

#include "database/LikePattern.h"
#include "database/LookupLists.h"
#include "database/TextRows.h"
#include "record_form/FieldFocus.h"
#include "record_form/FormComboBox.h"
#include "record_form/Hints.h"
#include "record_form/StatusHints.h"
#include "services/MDatabase.h"
#include "services/Program.h"

#include <QKeyEvent>
#include <QLocale>

LookupBoxes::LookupBoxes(Program& program, const Boxes& boxes, FieldFocus& focus,
                         StatusHints& hints, std::function<bool()> searchTargetsEntered)
    : m_program(program),
      m_boxes(boxes),
      m_focus(focus),
      m_hints(hints),
      m_searchTargetsEntered(std::move(searchTargetsEntered)) {}

QString LookupBoxes::fieldOf(const FormComboBox* combo) const {
    const std::pair<const FormComboBox*, const QString&> fields[] = {
        {m_boxes.order, field::Order},     {m_boxes.family, field::Family},
        {m_boxes.country, field::Country}, {m_boxes.region, field::Region},
        {m_boxes.month, field::Month},     {m_boxes.year, field::Year},
    };
    for (const auto& [box, name] : fields) {
        if (box == combo) {
            return name;
        }
    }
    return {};
}

bool LookupBoxes::isFixed(const FormComboBox* combo) const {
    return combo == m_boxes.month || combo == m_boxes.year;
}

QString LookupBoxes::hint(const FormComboBox* combo) const {
    return hints::forComboBox(fieldOf(combo), isFixed(combo), m_searchTargetsEntered());
}

void LookupBoxes::LoadLookupLists() {
    m_familiesShown.reset();
    const std::pair<FormComboBox*, std::shared_ptr<Recordset>> lists[] = {
        {m_boxes.order, m_program.grsOrders},
        {m_boxes.country, m_program.grsCountries},
        {m_boxes.region, m_program.grsRegions},
    };
    for (const auto& [combo, recordset] : lists) {
        // The tables' present rows, whatever changed them. The text shown belongs to the
        // record on the form and stays.
        if (recordset) {
            recordset->requery();
        }
        combo->setListItems(recordset ? lookup::entries(*recordset, fieldOf(combo))
                                      : QStringList());
    }
    fillYearList();
}

void LookupBoxes::fillYearList() {
    // Years the list holds before 1970 or after this year (brought in from elsewhere) have
    // their place in the list too.
    int first = 1970;
    int last = 0;
    QStringList columns;
    QList<QStringList> rows;
    if (m_program.gdbBirdList &&
        !readTextRows(*m_program.gdbBirdList,
                      QStringLiteral("SELECT MIN(Year), MAX(Year) FROM \"Bird List\" "
                                     "WHERE Year GLOB '[0-9][0-9][0-9][0-9]'"),
                      columns, rows) &&
        !rows.isEmpty() && !rows[0][0].isEmpty()) {
        first = rows[0][0].toInt();
        last = rows[0][1].toInt();
    }
    const QStringList years = yearList(m_program.clock.today().year(), first, last);
    if (m_boxes.year->count() != years.size() || m_boxes.year->itemText(0) != years.first()) {
        m_boxes.year->setListItems(years);
    }
}

void LookupBoxes::showFamilyList() {
    const std::shared_ptr<Recordset> shown = m_familiesShown.lock();
    if (!shown || shown != m_program.grsFamilies ||
        m_familiesOrder != m_boxes.order->currentText()) {
        LoadFamilyList();
    }
}

void LookupBoxes::LoadFamilyList() {
    m_familiesShown.reset();
    m_boxes.family->clearList();
    const QString order = m_boxes.order->currentText();
    if (order.isEmpty() || !m_program.gdbBirdList) {
        return;
    }
    DbError error;
    std::shared_ptr<Recordset> families =
        lookup::openFamilies(*m_program.gdbBirdList, order, error);
    if (error) {
        return;
    }
    m_program.grsFamilies = families;
    m_boxes.family->setListItems(lookup::entries(*families, field::Family));
    m_familiesShown = families;
    m_familiesOrder = order;
}

void LookupBoxes::gotFocus(FormComboBox* combo) {
    m_hints.show(hint(combo));
    if (combo == m_boxes.order) {
        mintOrderListIndex = m_boxes.order->listIndex();
    } else if (combo == m_boxes.family && m_boxes.order->currentText().isEmpty()) {
        m_program.dialogs.msgBox(QStringLiteral("An Order must be entered before a Family."),
                                 mb::Exclamation | mb::OKOnly,
                                 QStringLiteral("No Order Specified"));
        m_boxes.family->setEditText(QString());
        m_focus.returnTo(m_boxes.order, false);
    }
}

bool LookupBoxes::lostFocus(FormComboBox* combo) {
    const QString text = combo->currentText();
    if (isFixed(combo) || text.isEmpty()) {
        return true;
    }
    FormComboBox* order = m_boxes.order;
    if (combo == order && order->listIndex() == mintOrderListIndex && mintOrderListIndex != -1) {
        return true;
    }
    return storeEntry(combo, text);
}

void LookupBoxes::enterPicked(FormComboBox* combo, const QString& text) {
    combo->setEditText(text);
    storeEntry(combo, text);
    const std::optional<QString> loaded =
        m_program.grsFamilies ? lookup::familiesOrder(*m_program.grsFamilies) : std::nullopt;
    if (combo == m_boxes.order && (!loaded || foldCase(*loaded) != foldCase(text))) {
        // A new order too gets its (empty) family list, so that the family put in next is
        // entered under it; a known one has had its list loaded by the look-up.
        LoadFamilyList();
        combo->setEditText(text);
    }
}

bool LookupBoxes::storeEntry(FormComboBox* combo, const QString& text) {
    FormComboBox* order = m_boxes.order;
    const QString field = fieldOf(combo);
    std::shared_ptr<Recordset> table;
    QList<std::pair<QString, QString>> row{{field, text}};
    if (combo == order) {
        table = m_program.grsOrders;
    } else if (combo == m_boxes.country) {
        table = m_program.grsCountries;
    } else if (combo == m_boxes.region) {
        table = m_program.grsRegions;
    } else {
        // A family is looked for, and stored, under the order shown.
        const QString orderShown = order->currentText();
        const std::optional<QString> loaded =
            m_program.grsFamilies ? lookup::familiesOrder(*m_program.grsFamilies) : std::nullopt;
        if (!loaded || foldCase(*loaded) != foldCase(orderShown)) {
            DbError error;
            std::shared_ptr<Recordset> families =
                m_program.gdbBirdList
                    ? lookup::openFamilies(*m_program.gdbBirdList, orderShown, error)
                    : nullptr;
            if (!families) {
                reportDatabaseError(m_program, error ? error : DbError::objectClosed());
                return true;
            }
            m_program.grsFamilies = families;
        }
        table = m_program.grsFamilies;
        row.append({field::Order, orderShown});
    }
    if (!table) {
        return true;
    }
    bool found = false;
    if (DbError error = lookup::contains(*table, Criteria::equals(field, text), found)) {
        reportDatabaseError(m_program, error);
        return true;
    }
    if (found) {
        if (combo == order) {
            LoadFamilyList();
            order->setEditText(text);
        }
        return true;
    }
    if (m_searchTargetsEntered()) {
        m_program.dialogs.msgBox(hints::searchModeRefusal(field), mb::Information | mb::OKOnly,
                                 QStringLiteral("Invalid Entry"));
        combo->setEditText(QString());
        m_focus.returnTo(combo, false);
        return false;
    }
    // The new entry is kept whether or not the sighting is stored.
    if (DbError error = lookup::addEntry(*table, row)) {
        reportDatabaseError(m_program, error);
        return true;
    }
    combo->addListItem(text);
    combo->setEditText(text);
    if (combo == order) {
        // The new order is the one the family list stays with: the box picking its new entry
        // when it is left is not a change of order, and the family shown stays.
        mintOrderListIndex = order->listIndex();
    }
    return true;
}

bool LookupBoxes::discardsKey(const FormComboBox* combo, const QKeyEvent* event) const {
    // Keys that type nothing (arrows, Delete, F4) and the keys that move the focus are not key
    // presses of the box.
    const QString typed = event->text();
    if (typed.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
        event->key() == Qt::Key_Backspace) {
        return false;
    }
    return isFixed(combo) || m_searchTargetsEntered();
}

void LookupBoxes::cboOrder_Click() {
    if (m_boxes.order->currentIndex() != mintOrderListIndex) {
        LoadFamilyList();
        m_boxes.family->setEditText(QString());
    }
}

void LookupBoxes::fixedListChange(FormComboBox* combo) {
    const QString text = combo->currentText();
    if (text.isEmpty() || combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) {
        return;
    }
    combo->setEditText(QString());
    m_program.dialogs.msgBox(
        QStringLiteral("Please select a %1 from the drop-down list.").arg(fieldOf(combo)),
        mb::Information | mb::OKOnly, m_program.app.title);
    m_focus.returnTo(combo, false);
}

void LookupBoxes::fixedListDropDown(FormComboBox* combo) {
    if (!combo->currentText().isEmpty()) {
        return;
    }
    const QDate today = m_program.clock.today();
    combo->setEditText(combo == m_boxes.month
                           ? QLocale(QLocale::English).standaloneMonthName(today.month())
                           : QString::number(today.year()));
}
