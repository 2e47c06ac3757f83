// The six combo boxes: lookup lists that grow as new entries are typed, the family list that
// follows the order, and the fixed month and year lists.
#include "record_form/FormComboBox.h"
#include "record_form/FrmMain.h"
#include "record_form/Hints.h"
#include "record_form/MValidation.h"

#include "app/Program.h"
#include "database/LikePattern.h"
#include "database/LookupLists.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

namespace {

// The lookup field of a lookup box: Order for cboOrder, and so on.
QString fieldOf(const FormComboBox* combo) {
    return combo->objectName().mid(3);
}

}  // namespace

void FrmMain::LoadLookupLists() {
    const std::pair<FormComboBox*, std::shared_ptr<Recordset>> pairs[] = {
        {cboOrder, m_program.grsOrders},
        {cboCountry, m_program.grsCountries},
        {cboRegion, m_program.grsRegions},
    };
    for (const auto& [combo, recordset] : pairs) {
        // The text shown belongs to the record on the form and stays.
        combo->setListItems(recordset ? lookup::entries(*recordset, fieldOf(combo))
                                      : QStringList());
    }
}

void FrmMain::LoadFamilyList() {
    cboFamily->clearList();
    const QString order = cboOrder->currentText();
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
    cboFamily->setListItems(lookup::entries(*families, QStringLiteral("Family")));
}

void FrmMain::comboGotFocus(FormComboBox* combo) {
    showHint(hints::forComboBox(combo->objectName(), searchTargetsEntered()));
    if (combo == cboOrder) {
        mintOrderListIndex = cboOrder->listIndex();
    } else if (combo == cboFamily && cboOrder->currentText().isEmpty()) {
        m_program.dialogs.msgBox(QStringLiteral("An Order must be entered before a Family."),
                                 mb::Exclamation | mb::OKOnly,
                                 QStringLiteral("No Order Specified"));
        cboFamily->setEditText(QString());
        returnFocusTo(cboOrder, false);
    }
}

bool FrmMain::lookupLostFocus(FormComboBox* combo) {
    if (!CheckTextLength(combo, kShortTextLimit)) {
        return false;
    }
    const QString text = combo->currentText();
    if (text.isEmpty()) {
        return true;
    }
    if (combo == cboOrder && cboOrder->listIndex() == mintOrderListIndex &&
        mintOrderListIndex != -1) {
        return true;
    }
    const QString field = fieldOf(combo);
    std::shared_ptr<Recordset> table;
    QList<std::pair<QString, QString>> row{{field, text}};
    if (combo == cboOrder) {
        table = m_program.grsOrders;
    } else if (combo == cboCountry) {
        table = m_program.grsCountries;
    } else if (combo == cboRegion) {
        table = m_program.grsRegions;
    } else {
        // A family is looked for, and stored, under the order shown.
        const QString order = cboOrder->currentText();
        const std::optional<QString> loaded =
            m_program.grsFamilies ? lookup::familiesOrder(*m_program.grsFamilies) : std::nullopt;
        if (!loaded || foldCase(*loaded) != foldCase(order)) {
            DbError error;
            std::shared_ptr<Recordset> families =
                m_program.gdbBirdList ? lookup::openFamilies(*m_program.gdbBirdList, order, error)
                                      : nullptr;
            if (!families) {
                reportStoreError(error ? error : DbError::objectClosed());
                return true;
            }
            m_program.grsFamilies = families;
        }
        table = m_program.grsFamilies;
        row.append({QStringLiteral("Order"), order});
    }
    if (!table) {
        return true;
    }
    bool found = false;
    if (DbError error = lookup::contains(*table, Criteria::equals(field, text), found)) {
        reportStoreError(error);
        return true;
    }
    if (found) {
        if (combo == cboOrder) {
            LoadFamilyList();
            cboOrder->setEditText(text);
        }
        return true;
    }
    if (searchTargetsEntered()) {
        m_program.dialogs.msgBox(hints::searchModeRefusal(combo->objectName()),
                                 mb::Information | mb::OKOnly, QStringLiteral("Invalid Entry"));
        combo->setEditText(QString());
        returnFocusTo(combo, false);
        return false;
    }
    // The new entry is kept whether or not the sighting is stored.
    if (DbError error = lookup::addEntry(*table, row)) {
        reportStoreError(error);
        return true;
    }
    combo->addListItem(text);
    combo->setEditText(text);
    return true;
}

bool FrmMain::comboKeyPress(FormComboBox* combo, const QKeyEvent* event) const {
    // True when the key is to be discarded. Keys that type nothing (arrows, Delete, F4) and
    // the keys that move the focus are not key presses of the box.
    const QString typed = event->text();
    if (typed.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
        event->key() == Qt::Key_Backspace) {
        return false;
    }
    if (combo == cboMonth || combo == cboYear) {
        return true;
    }
    return searchTargetsEntered();
}

void FrmMain::cboOrder_Click() {
    if (cboOrder->currentIndex() != mintOrderListIndex) {
        LoadFamilyList();
        cboFamily->setEditText(QString());
    }
}

void FrmMain::fixedListChange(FormComboBox* combo) {
    const QString text = combo->currentText();
    if (text.isEmpty()) {
        return;
    }
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == text) {
            return;
        }
    }
    combo->setEditText(QString());
    m_program.dialogs.msgBox(combo == cboMonth
                                 ? QStringLiteral("Please select a Month from the drop-down list.")
                                 : QStringLiteral("Please select a Year from the drop-down list."),
                             mb::Information | mb::OKOnly, m_program.app.title);
    returnFocusTo(combo, false);
}

void FrmMain::fixedListDropDown(FormComboBox* combo) {
    if (!combo->currentText().isEmpty()) {
        return;
    }
    const QDate today = m_program.clock.today();
    combo->setEditText(combo == cboMonth
                           ? QLocale(QLocale::English).standaloneMonthName(today.month())
                           : QString::number(today.year()));
}
