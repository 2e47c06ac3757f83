#pragma once

#include "checklist/Checklist.h"

#include <QObject>

class QCompleter;
class QLineEdit;
class QStringListModel;

// The drop-down list of checklist names under one name box of the record form. It follows the
// user's typing (never text put in by the program), shows a dozen names at a time and scrolls
// to the others, and is driven by the keyboard (Up, Down, Return, Escape) or the mouse. The box
// keeps the focus throughout.
class SpeciesCompleter : public QObject {
    Q_OBJECT
public:
    // Rows of the list shown at a time.
    static constexpr int kShown = 12;

    SpeciesCompleter(QLineEdit* box, Checklist::Names names);

    // The checklist offered from; none turns the list off.
    void setChecklist(const Checklist* checklist);
    // While off (search targets are typed), nothing is offered.
    void setActive(bool active);
    QCompleter* completer() const { return m_completer; }

signals:
    // The user picked the checklist species with this index.
    void picked(qsizetype species);
    // The user typed into the box.
    void typed();

private:
    QStringList namesOf(const QList<qsizetype>& species) const;
    // Fills the list for the text typed and shows it, or hides it when it is empty.
    void refresh(const QString& text);

    QLineEdit* m_box;
    Checklist::Names m_names;
    const Checklist* m_checklist = nullptr;
    bool m_active = true;
    QCompleter* m_completer;
    QStringListModel* m_model;
    QList<qsizetype> m_shown;  // the species of the list's rows
};
