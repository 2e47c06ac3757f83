#pragma once

#include "record_form/ImportSightings.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QMainWindow;
class QProgressBar;
class QPushButton;

// The record form's progress bar while an import works, with a Cancel button beside it. The
// rest of the form, its menus and the program's other windows take no input meanwhile.
class ImportBar : public ImportProgress {
public:
    // The label and bar are the form's own (the statistics use them too); the button is made
    // here, in `area`, the form's central widget, and shown only while an import works.
    ImportBar(QMainWindow* form, QWidget* area, QLabel* caption, QProgressBar* bar);

    QPushButton* cancelButton() const { return m_cancel; }
    bool working() const { return m_working; }

    void show(bool working, const QString& caption) override;
    bool advance(int percent) override;

private:
    QMainWindow* m_form;
    QWidget* m_area;
    QLabel* m_caption;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    QString m_restCaption;  // the label's own text, back once the import is done
    bool m_working = false;
    bool m_cancelled = false;
    QList<QPointer<QWidget>> m_disabled;  // what was disabled here, to be enabled again
};
