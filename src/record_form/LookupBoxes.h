#pragma once

#include <QString>
#include <functional>
#include <memory>

class Recordset;

class FieldFocus;
class FormComboBox;
class Program;
class QKeyEvent;
class StatusHints;

// The record form's six combo boxes: the order, family, country and region lists, which grow
// as new entries are typed (the family list follows the order shown), and the fixed month and
// year lists.
class LookupBoxes {
public:
    struct Boxes {
        FormComboBox* order;
        FormComboBox* family;
        FormComboBox* country;
        FormComboBox* region;
        FormComboBox* month;
        FormComboBox* year;
    };

    // `searchTargetsEntered` tells whether the fields take search targets rather than a
    // sighting.
    LookupBoxes(Program& program, const Boxes& boxes, FieldFocus& focus, StatusHints& hints,
                std::function<bool()> searchTargetsEntered);

    bool isFixed(const FormComboBox* combo) const;
    // The hint for the mouse over a box or its frame.
    QString hint(const FormComboBox* combo) const;

    // Refills the order, country and region lists from their tables, and makes the year list
    // hold every year of the life list.
    void LoadLookupLists();
    // Refills the family list with the families of the order shown, and empties the family.
    void LoadFamilyList();
    // The family list for the order of a record just shown: refilled unless it already holds
    // that order's families, loaded since the lists were last refilled.
    void showFamilyList();

    // A box got the focus.
    void gotFocus(FormComboBox* combo);
    // A lookup box was left, its length already checked: a new entry is added to its table and
    // list. False when the box refuses to be left.
    bool lostFocus(FormComboBox* combo);
    // A value put into a lookup box by the program as if the user had typed it and left the
    // box: a new entry is added to its table and list. An order put in reloads the family list.
    void enterPicked(FormComboBox* combo, const QString& text);
    // True when a key typed into a box is to be discarded.
    bool discardsKey(const FormComboBox* combo, const QKeyEvent* event) const;
    // An entry of the order list was picked.
    void cboOrder_Click();
    // The text of a fixed list changed: only its entries (or nothing) are accepted.
    void fixedListChange(FormComboBox* combo);
    // An empty fixed list drops down on the current month or year.
    void fixedListDropDown(FormComboBox* combo);

private:
    void fillYearList();
    // Looks the box's text up in its table and, outside search targets, adds it when new. False
    // when the box refuses to be left.
    bool storeEntry(FormComboBox* combo, const QString& text);
    QString fieldOf(const FormComboBox* combo) const;

    Program& m_program;
    Boxes m_boxes;
    FieldFocus& m_focus;
    StatusHints& m_hints;
    std::function<bool()> m_searchTargetsEntered;
    int mintOrderListIndex = -1;
    // The families' recordset the family list was last filled from, and its order.
    std::weak_ptr<Recordset> m_familiesShown;
    QString m_familiesOrder;
};
