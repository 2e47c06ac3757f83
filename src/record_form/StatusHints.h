#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QWidget;

// Status-bar panel 1 of the record form: the hint for the control under the mouse pointer, or
// for the combo box that got the focus.
class StatusHints {
public:
    // What the mouse over a control does to the panel: a text to show (possibly empty, which
    // empties the panel), or nothing (the panel keeps its text).
    using Hint = std::function<std::optional<QString>()>;

    explicit StatusHints(QLabel* panel) : m_panel(panel) {}

    // A control of the form; the parts of a control (the line of a combo box, the viewport of
    // a text box) count as the control.
    void addControl(QWidget* control, Hint hint = {});
    void show(const QString& text);
    // Empties the panel if it shows `text`.
    void clearIfShowing(const QString& text);
    // The mouse moved over `widget`, the innermost widget under the pointer.
    void mouseMoved(QWidget* widget);

private:
    QLabel* m_panel;
    QHash<const QWidget*, Hint> m_controls;
};
