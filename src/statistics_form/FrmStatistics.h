#pragma once

#include "statistics/StatisticsPass.h"
#include "statistics/StatisticsReport.h"
#include "statistics_form/StatList.h"

#include <QDialog>

class Program;
class QLabel;
class QPushButton;
class StatisticsHost;

// The lifetime statistics window: the sightings counted by order, family, location, country,
// region, month and year, each in a list that a double-click switches between its own order
// and count order. It counts when it loads and on Refresh, prints the lists and saves them as a
// text file. It is modeless and is released when it closes.
class FrmStatistics : public QDialog {
    Q_OBJECT
public:
    FrmStatistics(Program& program, StatisticsHost& host, QWidget* parent);
    ~FrmStatistics() override;

    // Puts the window where it last stood and counts, before it is shown.
    void Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window as Close does.
    void reject() override { close(); }

private:
    struct ListView {
        Category category;
        StatList* list;
        QLabel* label;
    };

    void buildForm();
    QLabel* boldLabel(const char* name, const char* caption);
    void GatherStatistics();
    void fillLists(const std::function<void(int)>& progress);
    void restoreMainForm();
    void cmdRefresh_Click();
    void listDoubleClicked(StatList* list);
    void Form_Unload();

    // Printing and saving (FrmStatisticsOutput.cpp).
    StatisticsReport report() const;
    void cmdPrint_Click();
    void cmdSave_Click();
    void SaveStatisticsFile(const QString& path);

    Program& m_program;
    StatisticsHost& m_host;
    StatisticsPass m_pass;
    QList<ListView> m_lists;
    bool m_counted = false;  // the lists hold the counts of the last Refresh
    QLabel* lblTotal = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdClose = nullptr;
};
