#include "record_form/SpeciesCompleter.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>

SpeciesCompleter::SpeciesCompleter(QLineEdit* box, Checklist::Names names)
    : QObject(box), m_box(box), m_names(names), m_model(new QStringListModel(this)) {
    // The list is filled here for every keystroke and shown as it is; the box is not given the
    // completer, so that nothing but a pick changes its text.
    m_completer = new QCompleter(m_model, this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(kShown);
    m_completer->setWidget(box);
    // Thousands of names may match a first letter: the rows are not measured one by one.
    if (auto* rows = qobject_cast<QListView*>(m_completer->popup())) {
        rows->setUniformItemSizes(true);
    }
    connect(box, &QLineEdit::textEdited, this, [this](const QString& text) {
        emit typed();
        refresh(text);
    });
    connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                if (index.isValid() && index.row() < m_shown.size()) {
                    emit picked(m_shown[index.row()]);
                }
            });
}

void SpeciesCompleter::setChecklist(const Checklist* checklist) {
    m_checklist = checklist;
    refresh({});
}

void SpeciesCompleter::setActive(bool active) {
    m_active = active;
    if (!active) {
        refresh({});
    }
}

QStringList SpeciesCompleter::namesOf(const QList<qsizetype>& species) const {
    QStringList names;
    for (qsizetype index : species) {
        const ChecklistSpecies& entry = m_checklist->at(index);
        names.append(m_names == Checklist::Names::English ? entry.english : entry.scientific);
    }
    return names;
}

void SpeciesCompleter::refresh(const QString& text) {
    m_shown = m_active && m_checklist ? m_checklist->complete(m_names, text) : QList<qsizetype>();
    m_model->setStringList(namesOf(m_shown));
    if (m_shown.isEmpty()) {
        m_completer->popup()->hide();
        return;
    }
    m_completer->complete();
    // Nothing is chosen until the user moves into the list: Return or Tab on a box whose list
    // merely dropped down keep the typing.
    m_completer->popup()->setCurrentIndex({});
}
