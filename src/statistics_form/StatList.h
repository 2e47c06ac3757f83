#pragma once

#include "statistics/StatRow.h"

#include <QTreeWidget>

// One list of the statistics window: an entry and its count per row. A double-click switches
// it between its own order (alphabetical, or the calendar for months and years) and count
// order, largest first. No row ever stays selected.
class StatList : public QTreeWidget {
    Q_OBJECT
public:
    enum class Kind { Alphabetical, Calendar };

    StatList(Kind kind, const QString& name, QWidget* parent = nullptr);

    // Shows the rows of a counting pass. A list in alphabetical order shows them in that order;
    // any other list shows them as given. A list in count order stays so only until its next
    // double-click.
    void fill(const QList<StatRow>& rows);
    void clearRows();
    // The rows in the order shown.
    const QList<StatRow>& rows() const { return m_rows; }

    Kind kind() const { return m_kind; }
    void toggleOrder();

signals:
    void listDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showRows();

    Kind m_kind;
    bool m_alphabetical;      // an alphabetical list keeps its rows in order
    bool m_byCount = false;   // a calendar list was last sorted by count
    QList<StatRow> m_filled;  // the rows as the last pass gave them
    QList<StatRow> m_rows;
};
