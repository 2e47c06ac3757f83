#pragma once

#include "checklist/Checklist.h"

#include <QObject>
#include <functional>
#include <optional>

class FormComboBox;
class LookupBoxes;
class Program;
class QLineEdit;
class SpeciesCompleter;
class StatusHints;

// Picking a species from the world checklist on the record form: the Common Name and Binomial
// boxes offer the checklist's names as they are typed; a pick fills both names and, where they
// are empty, the order and family (new ones join the lookup lists as if typed), and flags a
// species that is already on the life list.
class ChecklistPicker : public QObject {
    Q_OBJECT
public:
    struct Boxes {
        QLineEdit* commonName;
        QLineEdit* species;
        FormComboBox* order;
        FormComboBox* family;
    };
    // `shownNumber` gives the Number of the sighting on the form, 0 for one not stored yet.
    ChecklistPicker(Program& program, const Boxes& boxes, LookupBoxes& lookups, StatusHints& hints,
                    std::function<qint64()> shownNumber);

    // Reads the checklist from the program folder. When it cannot be read, nothing is offered
    // and the status bar says why.
    void load();
    // The checklist once read; null before or when it could not be read.
    const Checklist* checklist() const { return m_checklist ? &*m_checklist : nullptr; }
    // Names are offered only while the form takes a sighting, not search targets.
    void setActive(bool active);
    // The sighting found on the life list for the species last picked; 0 when there is none.
    qint64 flaggedRecord() const { return m_flagged; }
    void clearFlag();
    // Another record is shown: the order and family there are the user's.
    void recordShown();
    // Runs when the flagged record changes.
    std::function<void()> onFlagChanged;

    // The checklist's file in the program folder.
    static QString fileName() { return QStringLiteral("data/species.csv"); }
    static QString flagText(qint64 number) {
        return QStringLiteral("Already on your life list: record %1").arg(number);
    }

private:
    void pick(qsizetype species);
    void setFlag(qint64 number);

    Program& m_program;
    Boxes m_boxes;
    LookupBoxes& m_lookups;
    StatusHints& m_hints;
    std::function<qint64()> m_shownNumber;
    std::optional<Checklist> m_checklist;
    SpeciesCompleter* m_commonNames;
    SpeciesCompleter* m_binomials;
    qint64 m_flagged = 0;
    // The order and family the last pick on the record shown put in, if any.
    QString m_filledOrder;
    QString m_filledFamily;
};
