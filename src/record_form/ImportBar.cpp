#include "record_form/ImportBar.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

ImportBar::ImportBar(QMainWindow* form, QWidget* area, QLabel* caption, QProgressBar* bar)
    : m_form(form),
      m_area(area),
      m_caption(caption),
      m_bar(bar),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), area)),
      m_restCaption(caption->text()) {
    m_cancel->setObjectName(QStringLiteral("cmdCancelImport"));
    m_cancel->setAutoDefault(false);
    m_cancel->hide();
    QObject::connect(m_cancel, &QPushButton::clicked, m_cancel, [this] { m_cancelled = true; });
}

void ImportBar::show(bool working, const QString& caption) {
    if (working == m_working) {
        return;
    }
    m_working = working;
    if (working) {
        m_cancelled = false;
        QList<QWidget*> still = m_area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        still.append(m_form->menuBar());
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != m_form && window->isVisible()) {
                still.append(window);
            }
        }
        for (QWidget* widget : std::as_const(still)) {
            if (widget != m_caption && widget != m_bar && widget != m_cancel &&
                widget->isEnabled()) {
                widget->setEnabled(false);
                m_disabled.append(widget);
            }
        }
        m_caption->setText(caption);
        m_bar->setValue(0);
    } else {
        for (const QPointer<QWidget>& widget : std::as_const(m_disabled)) {
            if (widget) {
                widget->setEnabled(true);
            }
        }
        m_disabled.clear();
        m_caption->setText(m_restCaption);
    }
    m_caption->setVisible(working);
    m_bar->setVisible(working);
    m_cancel->setVisible(working);
    if (working) {
        m_cancel->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
}

bool ImportBar::advance(int percent) {
    m_bar->setValue(percent);
    // The Cancel button is heard between steps.
    QApplication::processEvents();
    return !m_cancelled;
}
