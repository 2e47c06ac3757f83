#pragma once

#include <QComboBox>

// A drop-down combo box with an editable text part, as the record form uses them: no
// completion, no entries added by Enter, optionally kept in alphabetical order, and a signal
// just before its list drops down.
class FormComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit FormComboBox(bool sorted, QWidget* parent = nullptr);

    // The position of the list entry equal to the text (ignoring case), or -1.
    int listIndex() const;
    // Adds one entry, at its alphabetical place in a sorted list; the text is kept.
    void addListItem(const QString& item);
    // Replaces the whole list; the text is kept.
    void setListItems(const QStringList& items);
    // Empties the list and the text.
    void clearList();

    void showPopup() override;

protected:
    // The wheel scrolls the form, never the value: a record is not changed by passing over it.
    void wheelEvent(QWheelEvent* event) override;

signals:
    void dropDown();

private:
    bool m_sorted;
};
