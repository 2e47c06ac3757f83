#include "statistics_form/FrmStatistics.h"

#include "platform/DateText.h"
#include "services/MWindow.h"
#include "services/Program.h"
#include "statistics/StatisticsHost.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// The seven lists: where each stands and its label's caption before the first count.
struct ListDesign {
    Category category;
    const char* list;
    const char* label;
    const char* designCaption;
    int row;
    int column;
    int columnSpan;
};

constexpr ListDesign kLists[] = {
    {Category::Location, "lstLocation", "lblLocation", "Sightings by Location", 1, 0, 1},
    {Category::Order, "lstOrder", "lblOrder", "Sightings by Order", 1, 1, 2},
    {Category::Country, "lstCountry", "lblCountry", "Sightings by Country", 3, 0, 1},
    {Category::Family, "lstFamily", "lblFamily", "Sightings by Family", 3, 1, 2},
    {Category::Region, "lstRegion", "lblRegion", "Sightings by Region", 5, 0, 1},
    {Category::Month, "lstMonth", "lblMonth", "Monthly Totals", 5, 1, 1},
    {Category::Year, "lstYear", "lblYear", "Yearly Totals", 5, 2, 1},
};

// The order in which a pass fills the lists, with the progress shown after each.
constexpr std::pair<Category, int> kFillOrder[] = {
    {Category::Family, 0}, {Category::Order, 85}, {Category::Location, 0}, {Category::Country, 90},
    {Category::Region, 0}, {Category::Month, 95}, {Category::Year, 100},
};

bool isCalendar(Category category) {
    return category == Category::Month || category == Category::Year;
}

}  // namespace

FrmStatistics::FrmStatistics(Program& program, StatisticsHost& host, QWidget* parent)
    : QDialog(parent), m_program(program), m_host(host) {
    setObjectName(QStringLiteral("frmStatistics"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Plovix - Lifetime Statistics"));
    buildForm();
}

FrmStatistics::~FrmStatistics() = default;

QLabel* FrmStatistics::boldLabel(const char* name, const char* caption) {
    auto* label = new QLabel(QString::fromUtf8(caption));
    label->setObjectName(QString::fromLatin1(name));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void FrmStatistics::buildForm() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(boldLabel("lblLiftime", "Lifetime Statistics"), 0, 0);
    lblTotal = boldLabel("lblTotal", "Total Sightings:");
    grid->addWidget(lblTotal, 0, 1, 1, 2);
    for (const ListDesign& design : kLists) {
        auto* list = new StatList(
            isCalendar(design.category) ? StatList::Kind::Calendar : StatList::Kind::Alphabetical,
            QString::fromLatin1(design.list));
        QLabel* label = boldLabel(design.label, design.designCaption);
        grid->addWidget(label, design.row, design.column, 1, design.columnSpan);
        grid->addWidget(list, design.row + 1, design.column, 1, design.columnSpan);
        m_lists.append({design.category, list, label});
        connect(list, &StatList::listDoubleClicked, this,
                [this, list] { listDoubleClicked(list); });
    }
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    auto* lblDoubleClick = new QLabel;
    lblDoubleClick->setObjectName(QStringLiteral("lblDoubleClick"));
    grid->addWidget(lblDoubleClick, 7, 0);
    auto* buttons = new QHBoxLayout;
    const std::pair<QPushButton**, const char*> kButtons[] = {{&cmdSave, "cmdSave"},
                                                              {&cmdPrint, "cmdPrint"},
                                                              {&cmdRefresh, "cmdRefresh"},
                                                              {&cmdClose, "cmdClose"}};
    const char* const captions[] = {"&Save", "&Print", "&Refresh", "&Close"};
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        auto* button = new QPushButton(QString::fromLatin1(captions[i]));
        button->setObjectName(QString::fromLatin1(kButtons[i].second));
        button->setAutoDefault(false);
        buttons->addWidget(button);
        *kButtons[i].first = button;
    }
    cmdClose->setDefault(true);
    grid->addLayout(buttons, 7, 1, 1, 2);

    connect(cmdSave, &QPushButton::clicked, this, &FrmStatistics::cmdSave_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &FrmStatistics::cmdPrint_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &FrmStatistics::cmdRefresh_Click);
    connect(cmdClose, &QPushButton::clicked, this, &FrmStatistics::close);
    resize(600, 500);
}

void FrmStatistics::Form_Load() {
    formPosition(this, false, *m_program.gobjSettings);
    GatherStatistics();
}

void FrmStatistics::GatherStatistics() {
    m_program.cursor.setMousePointer(WaitCursor::Hourglass);
    setWindowTitle(QStringLiteral("%1 - Lifetime Statistics for %2 [%3]")
                       .arg(m_program.app.title, m_program.gstrUserName,
                            datetext::dateTime(m_program.clock.now())));
    m_host.showCounting(true);
    m_host.storePendingChange();

    lblTotal->setText(m_host.totalCaption());
    const auto progress = [this](int percent) { m_host.setProgress(percent); };
    DbError error = m_program.gdbBirdList
                        ? m_pass.run(*m_program.gdbBirdList, m_host.fixedLists(), progress)
                        : DbError::objectClosed();
    if (!error) {
        fillLists(progress);
    }
    restoreMainForm();
    // Lists that could not be counted are never printed or saved as if they were the counts.
    m_counted = !error;
    cmdSave->setEnabled(m_counted);
    cmdPrint->setEnabled(m_counted);
    if (error) {
        m_program.dialogs.msgBox(
            QStringLiteral("Error Number %1:\n%2").arg(error.number).arg(error.description),
            mb::Critical | mb::OKOnly, QStringLiteral("Statistics Form Loading Error"));
    }
}

void FrmStatistics::fillLists(const std::function<void(int)>& progress) {
    for (const auto& [category, percent] : kFillOrder) {
        for (const ListView& view : m_lists) {
            if (view.category != category) {
                continue;
            }
            view.list->fill(m_pass.table(category).countedRows());
            if (!isCalendar(category)) {
                view.label->setText(QStringLiteral("%1 %2 (No. of Sightings)")
                                        .arg(view.list->rows().size())
                                        .arg(categorySection(category)));
            }
        }
        if (percent) {
            progress(percent);
        }
    }
}

void FrmStatistics::restoreMainForm() {
    m_program.cursor.setMousePointer(WaitCursor::Default);
    m_host.showCounting(false);
}

void FrmStatistics::cmdRefresh_Click() {
    for (QPushButton* button : {cmdRefresh, cmdClose, cmdSave, cmdPrint}) {
        button->setEnabled(false);
    }
    lblTotal->setText(QStringLiteral("Total Sightings:"));
    lblTotal->repaint();
    for (const ListView& view : m_lists) {
        if (!isCalendar(view.category)) {
            view.label->setText(categorySection(view.category));
            view.label->repaint();
        }
        view.list->clearRows();
    }
    GatherStatistics();
    for (QPushButton* button : {cmdRefresh, cmdClose, cmdSave, cmdPrint}) {
        button->setEnabled(m_counted || (button != cmdSave && button != cmdPrint));
    }
}

void FrmStatistics::listDoubleClicked(StatList* list) {
    const bool pointer = list->kind() == StatList::Kind::Alphabetical;
    if (pointer) {
        m_program.cursor.setMousePointer(WaitCursor::Hourglass);
    }
    list->toggleOrder();
    if (pointer) {
        m_program.cursor.setMousePointer(WaitCursor::Default);
    }
    cmdClose->setFocus(Qt::OtherFocusReason);
}

void FrmStatistics::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void FrmStatistics::Form_Unload() {
    formPosition(this, true, *m_program.gobjSettings);
}
