#include "statistics_form/StatList.h"

#include "platform/Collation.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

StatList::StatList(Kind kind, const QString& name, QWidget* parent)
    : QTreeWidget(parent), m_kind(kind), m_alphabetical(kind == Kind::Alphabetical) {
    setObjectName(name);
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    // Room for a count of seven digits, however long the list.
    header()->setSectionResizeMode(1, QHeaderView::Fixed);
    header()->resizeSection(1, fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
}

void StatList::fill(const QList<StatRow>& rows) {
    m_filled = rows;
    m_rows = rows;
    if (m_alphabetical) {
        std::stable_sort(m_rows.begin(), m_rows.end(), [](const StatRow& a, const StatRow& b) {
            return collation::before(a.text, b.text);
        });
    }
    showRows();
}

void StatList::clearRows() {
    m_filled.clear();
    m_rows.clear();
    showRows();
}

void StatList::toggleOrder() {
    if (m_kind == Kind::Alphabetical) {
        m_alphabetical = !m_alphabetical;
        if (m_alphabetical) {
            fill(m_filled);
            return;
        }
        sortByCount(m_rows);
    } else if (m_byCount) {
        m_byCount = false;
        m_rows = m_filled;
    } else {
        m_byCount = true;
        sortByCount(m_rows);
    }
    showRows();
}

void StatList::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit listDoubleClicked();
}

void StatList::showRows() {
    QTreeWidget::clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(m_rows.size());
    for (const StatRow& row : m_rows) {
        auto* item = new QTreeWidgetItem({row.text, row.count});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    addTopLevelItems(items);
    setCurrentItem(nullptr);
}
