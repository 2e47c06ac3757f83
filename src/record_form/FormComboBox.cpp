#include "record_form/FormComboBox.h"

#include "platform/Collation.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <algorithm>

FormComboBox::FormComboBox(bool sorted, QWidget* parent) : QComboBox(parent), m_sorted(sorted) {
    setEditable(true);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
}

int FormComboBox::listIndex() const {
    const QString text = currentText();
    for (int i = 0; i < count(); ++i) {
        if (QString::compare(itemText(i), text, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

void FormComboBox::addListItem(const QString& item) {
    const QString text = currentText();
    const QSignalBlocker blocker(this);
    int position = count();
    if (m_sorted) {
        position = 0;
        while (position < count() && !collation::before(item, itemText(position))) {
            ++position;
        }
    }
    insertItem(position, item);
    // Inserting into an empty list would select the entry and replace the text.
    setCurrentIndex(-1);
    setEditText(text);
}

void FormComboBox::setListItems(const QStringList& items) {
    const QString text = currentText();
    const QSignalBlocker blocker(this);
    QStringList list = items;
    if (m_sorted) {
        std::stable_sort(list.begin(), list.end(), collation::before);
    }
    clear();
    addItems(list);
    setCurrentIndex(-1);
    setEditText(text);
}

void FormComboBox::clearList() {
    const QSignalBlocker blocker(this);
    clear();
    setEditText(QString());
}

void FormComboBox::showPopup() {
    emit dropDown();
    QComboBox::showPopup();
}

void FormComboBox::wheelEvent(QWheelEvent* event) {
    event->ignore();
}
