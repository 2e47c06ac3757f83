#include "record_form/ChecklistPicker.h"

#include "checklist/SpeciesPick.h"
#include "record_form/FormComboBox.h"
#include "record_form/LookupBoxes.h"
#include "record_form/SpeciesCompleter.h"
#include "record_form/StatusHints.h"
#include "services/MDatabase.h"
#include "services/Program.h"

#include <QLineEdit>

ChecklistPicker::ChecklistPicker(Program& program, const Boxes& boxes, LookupBoxes& lookups,
                                 StatusHints& hints, std::function<qint64()> shownNumber)
    : m_program(program),
      m_boxes(boxes),
      m_lookups(lookups),
      m_hints(hints),
      m_shownNumber(std::move(shownNumber)),
      m_commonNames(new SpeciesCompleter(boxes.commonName, Checklist::Names::English)),
      m_binomials(new SpeciesCompleter(boxes.species, Checklist::Names::Scientific)) {
    for (SpeciesCompleter* names : {m_commonNames, m_binomials}) {
        connect(names, &SpeciesCompleter::picked, this, &ChecklistPicker::pick);
        // A name typed over the one picked is no longer the species flagged.
        connect(names, &SpeciesCompleter::typed, this, &ChecklistPicker::clearFlag);
    }
}

void ChecklistPicker::load() {
    QString error;
    m_checklist = Checklist::load(m_program.app.filePath(fileName()), error);
    if (!m_checklist) {
        m_hints.show(QStringLiteral("Species names are not completed: the world checklist %1 %2")
                         .arg(fileName(), error));
    }
    const Checklist* checklist = m_checklist ? &*m_checklist : nullptr;
    m_commonNames->setChecklist(checklist);
    m_binomials->setChecklist(checklist);
}

void ChecklistPicker::setActive(bool active) {
    m_commonNames->setActive(active);
    m_binomials->setActive(active);
    if (!active) {
        clearFlag();
    }
}

void ChecklistPicker::recordShown() {
    m_filledOrder.clear();
    m_filledFamily.clear();
}

void ChecklistPicker::pick(qsizetype index) {
    const ChecklistSpecies& species = m_checklist->at(index);
    // What an earlier pick on this record put in, unchanged since, is the pick's and not the
    // user's: another pick replaces it.
    const QString orderShown = m_boxes.order->currentText();
    const QString familyShown = m_boxes.family->currentText();
    const bool familyPicked = !familyShown.isEmpty() && familyShown == m_filledFamily;
    const PickedValues values =
        pickedValues(species, orderShown == m_filledOrder ? QString() : orderShown,
                     familyPicked ? QString() : familyShown);
    m_boxes.commonName->setText(values.commonName);
    m_boxes.species->setText(values.species);
    if (!values.order.isEmpty()) {
        // The family list follows the order put in; a family already shown stays.
        m_lookups.enterPicked(m_boxes.order, values.order);
        m_boxes.family->setEditText(familyShown);
    }
    if (!values.family.isEmpty()) {
        m_lookups.enterPicked(m_boxes.family, values.family);
    } else if (familyPicked) {
        m_boxes.family->setEditText(QString());
    }
    m_filledOrder = values.order;
    m_filledFamily = values.family;

    qint64 number = 0;
    if (m_program.gdbBirdList) {
        if (DbError error = sightingOf(*m_program.gdbBirdList, species, m_shownNumber(), number)) {
            reportDatabaseError(m_program, error);
        }
    }
    setFlag(number);
}

void ChecklistPicker::clearFlag() {
    setFlag(0);
}

void ChecklistPicker::setFlag(qint64 number) {
    if (number > 0) {
        m_hints.show(flagText(number));
    } else if (m_flagged > 0) {
        m_hints.clearIfShowing(flagText(m_flagged));
    }
    if (number != m_flagged) {
        m_flagged = number;
        if (onFlagChanged) {
            onFlagChanged();
        }
    }
}
