// The record form's controls and their layout.
#include "database/Schema.h"
#include "record_form/BoundWidget.h"
#include "record_form/FieldChecks.h"
#include "record_form/FormComboBox.h"
#include "record_form/FrmMain.h"
#include "record_form/Hints.h"
#include "record_form/ImportBar.h"
#include "record_form/LookupBoxes.h"
#include "record_form/StatusHints.h"

#include "services/Program.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

template <typename T>
T* FrmMain::named(T* widget, const QString& name) {
    widget->setObjectName(name);
    m_hints->addControl(widget);
    return widget;
}

void FrmMain::buildForm() {
    m_form = new QWidget(this);
    m_form->setObjectName(QStringLiteral("frmMainArea"));
    setCentralWidget(m_form);
    m_commands = std::make_unique<CommandBar>(m_form, menuBar());

    auto* main = new QHBoxLayout(m_form);
    main->addLayout(buildFields(), 1);
    main->addLayout(buildButtons());

    // Reading order, then the buttons.
    const QList<QWidget*> order{txtCommonName, txtAlternateName, cboOrder,    cboFamily,
                                txtSpecies,    txtLocation,      cboCountry,  cboRegion,
                                cboMonth,      cboYear,          txtComments, txtAdditional};
    QWidget* previous = nullptr;
    for (QWidget* widget :
         order + QList<QWidget*>(m_commands->column().begin(), m_commands->column().end())) {
        if (previous) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }

    // The form, its frames and some fields empty the hint panel; the other fields leave it.
    m_hints->addControl(m_form, [] { return QString(); });
}

QLayout* FrmMain::buildFields() {
    auto caption = [this](const QString& name, const QString& text, QWidget* buddy) {
        auto* label = named(new QLabel(text), name);
        label->setBuddy(buddy);
        return label;
    };
    // The caption-less label drawn around a combo box; the mouse over its border shows the
    // box's hint.
    auto rectAround = [this](const QString& name, FormComboBox* combo) {
        auto* rect = named(new QFrame, name);
        auto* layout = new QHBoxLayout(rect);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(combo);
        m_hints->addControl(rect, [this, combo] { return m_lookups->hint(combo); });
        return rect;
    };
    auto empties = [this](auto* control) {
        m_hints->addControl(control, [] { return QString(); });
        return control;
    };
    auto longTextBox = [this](const QString& name) {
        auto* box = named(new QPlainTextEdit, name);
        box->setTabChangesFocus(true);
        // On a small screen the long texts give up height first, down to two lines.
        box->setMinimumHeight(2 * box->fontMetrics().lineSpacing() + 2 * box->frameWidth() +
                              int(2 * box->document()->documentMargin()));
        return box;
    };

    lblTitle = named(new QLabel(QStringLiteral("Bird Information")), QStringLiteral("lblTitle"));
    lblTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    lblTitle->setFont(titleFont);
    lblEnterSearch =
        named(new QLabel(QStringLiteral("Enter your search targets in the appropriate text boxes")),
              QStringLiteral("lblEnterSearch"));
    lblEnterSearch->setAlignment(Qt::AlignCenter);
    lblEnterSearch->setFont(titleFont);
    lblEnterSearch->setStyleSheet(QStringLiteral("color: red;"));
    lblEnterSearch->hide();
    lblTotalSightings =
        named(new QLabel(QStringLiteral("Total Sightings: ")), QStringLiteral("lblTotalSightings"));
    lblTotalSightings->setAlignment(Qt::AlignCenter);
    lblTotalSightings->setFont(titleFont);

    // Name.
    txtCommonName = named(new QLineEdit, QStringLiteral("txtCommonName"));
    txtAlternateName = named(new QLineEdit, QStringLiteral("txtAlternateName"));
    frmName = empties(named(new QGroupBox(QStringLiteral("Name")), QStringLiteral("frmName")));
    auto* nameGrid = new QGridLayout(frmName);
    nameGrid->addWidget(
        caption(QStringLiteral("lblCommonName"), QStringLiteral("Common"), txtCommonName), 0, 0);
    nameGrid->addWidget(txtCommonName, 0, 1);
    nameGrid->addWidget(
        caption(QStringLiteral("lblAlternateName"), QStringLiteral("Alternate"), txtAlternateName),
        1, 0);
    nameGrid->addWidget(txtAlternateName, 1, 1);

    // Taxonomy.
    cboOrder = named(new FormComboBox(true), QStringLiteral("cboOrder"));
    cboFamily = named(new FormComboBox(true), QStringLiteral("cboFamily"));
    txtSpecies = empties(named(new QLineEdit, QStringLiteral("txtSpecies")));
    QFont italic(QStringLiteral("Arial"));
    italic.setPointSizeF(txtSpecies->font().pointSizeF());
    italic.setItalic(true);
    txtSpecies->setFont(italic);
    frmTaxonomy =
        empties(named(new QGroupBox(QStringLiteral("Taxonomy")), QStringLiteral("frmTaxonomy")));
    auto* taxonomyGrid = new QGridLayout(frmTaxonomy);
    taxonomyGrid->addWidget(caption(QStringLiteral("lblOrder"), QStringLiteral("Order"), cboOrder),
                            0, 0);
    taxonomyGrid->addWidget(rectAround(QStringLiteral("lblOrderRect"), cboOrder), 0, 1);
    taxonomyGrid->addWidget(
        caption(QStringLiteral("lblFamily"), QStringLiteral("Family"), cboFamily), 0, 2);
    taxonomyGrid->addWidget(rectAround(QStringLiteral("lblFamilyRect"), cboFamily), 0, 3);
    taxonomyGrid->addWidget(
        empties(caption(QStringLiteral("lblSpecies"), QStringLiteral("Binomial"), txtSpecies)), 1,
        0);
    taxonomyGrid->addWidget(txtSpecies, 1, 1, 1, 3);
    taxonomyGrid->setColumnStretch(1, 1);
    taxonomyGrid->setColumnStretch(3, 1);

    // First sighting.
    txtLocation = empties(named(new QLineEdit, QStringLiteral("txtLocation")));
    cboCountry = named(new FormComboBox(true), QStringLiteral("cboCountry"));
    cboRegion = named(new FormComboBox(true), QStringLiteral("cboRegion"));
    cboMonth = named(new FormComboBox(false), QStringLiteral("cboMonth"));
    cboYear = named(new FormComboBox(false), QStringLiteral("cboYear"));
    cboMonth->addItems(monthNames());
    cboYear->addItems(yearList(m_program.clock.today().year()));
    txtComments = empties(longTextBox(QStringLiteral("txtComments")));
    frmFirstSighting = empties(
        named(new QGroupBox(QStringLiteral("First Sighting")), QStringLiteral("frmFirstSighting")));
    auto* sightingGrid = new QGridLayout(frmFirstSighting);
    sightingGrid->addWidget(
        empties(caption(QStringLiteral("lblLocation"), QStringLiteral("Location"), txtLocation)), 0,
        0);
    sightingGrid->addWidget(txtLocation, 0, 1, 1, 3);
    sightingGrid->addWidget(
        caption(QStringLiteral("lblCountry"), QStringLiteral("Country"), cboCountry), 1, 0);
    sightingGrid->addWidget(rectAround(QStringLiteral("lblCountryRect"), cboCountry), 1, 1);
    sightingGrid->addWidget(
        caption(QStringLiteral("lblContinent"), QStringLiteral("Region"), cboRegion), 1, 2);
    sightingGrid->addWidget(rectAround(QStringLiteral("lblRegionRect"), cboRegion), 1, 3);
    sightingGrid->addWidget(caption(QStringLiteral("lblMonth"), QStringLiteral("Month"), cboMonth),
                            2, 0);
    sightingGrid->addWidget(rectAround(QStringLiteral("lblMonthRect"), cboMonth), 2, 1);
    sightingGrid->addWidget(caption(QStringLiteral("lblYear"), QStringLiteral("Year"), cboYear), 2,
                            2);
    sightingGrid->addWidget(rectAround(QStringLiteral("lblYearRect"), cboYear), 2, 3);
    sightingGrid->addWidget(
        empties(caption(QStringLiteral("lblComments"), QStringLiteral("Comments"), txtComments)), 3,
        0, Qt::AlignTop);
    sightingGrid->addWidget(txtComments, 3, 1, 1, 3);
    sightingGrid->setColumnStretch(1, 1);
    sightingGrid->setColumnStretch(3, 1);
    sightingGrid->setRowStretch(3, 1);

    // Additional sightings.
    txtAdditional = longTextBox(QStringLiteral("txtAdditional"));
    frmAdditional = empties(named(new QGroupBox(QStringLiteral("Additional Sightings")),
                                  QStringLiteral("frmAdditional")));
    auto* additionalBox = new QVBoxLayout(frmAdditional);
    additionalBox->addWidget(caption(QStringLiteral("lblAdditional"),
                                     QStringLiteral("Locations, Dates, and Comments"),
                                     txtAdditional));
    additionalBox->addWidget(txtAdditional);

    auto* line1 = named(new QFrame, QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);

    // Tight rows, so that the window fits a screen of 800 x 600.
    for (QLayout* rows :
         std::initializer_list<QLayout*>{nameGrid, taxonomyGrid, sightingGrid, additionalBox}) {
        const QMargins margins = rows->contentsMargins();
        rows->setContentsMargins(margins.left(), 4, margins.right(), 4);
    }
    auto* frames = new QVBoxLayout;
    frames->setSpacing(3);
    frames->addWidget(lblTitle);
    frames->addWidget(lblEnterSearch);
    frames->addWidget(line1);
    frames->addWidget(frmName);
    frames->addWidget(frmTaxonomy);
    frames->addWidget(frmFirstSighting, 3);
    frames->addWidget(frmAdditional, 2);
    return frames;
}

QLayout* FrmMain::buildButtons() {
    // The two buttons of one place stand one after the other; only one of them is ever shown,
    // and a hidden button takes no room.
    auto* places = new QVBoxLayout;
    for (QPushButton* button : m_commands->column()) {
        button->setMinimumWidth(150);
        places->addWidget(button);
        const char* hint = m_commands->commandOf(button)->hint;
        m_hints->addControl(button, [hint] { return QString::fromUtf8(hint); });
    }

    lblProcessing =
        named(new QLabel(QStringLiteral("Processing data...")), QStringLiteral("lblProcessing"));
    lblProcessing->setAlignment(Qt::AlignCenter);
    lblProcessing->hide();
    pbrProgress = named(new QProgressBar, QStringLiteral("pbrProgress"));
    pbrProgress->setTextVisible(false);
    pbrProgress->setValue(0);
    pbrProgress->hide();  // shown while the statistics count

    auto* column = new QVBoxLayout;
    column->addWidget(lblTotalSightings);
    column->addSpacing(8);
    column->addLayout(places);
    column->addStretch(1);
    column->addWidget(lblProcessing);
    column->addWidget(pbrProgress);
    m_importBar = std::make_unique<ImportBar>(this, m_form, lblProcessing, pbrProgress);
    column->addWidget(m_importBar->cancelButton());
    return column;
}

void FrmMain::bindFields() {
    const std::pair<const QString&, QWidget*> fields[] = {
        {field::CommonName, txtCommonName}, {field::AlternateName, txtAlternateName},
        {field::Order, cboOrder},           {field::Family, cboFamily},
        {field::Species, txtSpecies},       {field::Location, txtLocation},
        {field::Country, cboCountry},       {field::Region, cboRegion},
        {field::Month, cboMonth},           {field::Year, cboYear},
        {field::Comments, txtComments},     {field::Additional, txtAdditional},
    };
    QList<QWidget*> stored;
    for (const auto& [name, widget] : fields) {
        stored.append(widget);
        auto control = std::make_unique<BoundWidget>(widget);
        m_boundOf.insert(widget, control.get());
        Data1.bind(name, control.get());
        m_bound.push_back(std::move(control));
    }
    Data1.onReposition = [this] { Data1_Reposition(); };
    Data1.onLeave = [this] { Data1_Validate(); };
    // However the focus moved, nothing longer than its field takes is stored.
    Data1.onValidate = [this, stored] { return m_checks->storable(stored); };
}

void FrmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    auto panel = [bar](const QString& name, int stretch) {
        auto* label = new QLabel;
        label->setObjectName(name);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        bar->addPermanentWidget(label, stretch);
        return label;
    };
    m_panel1 = panel(QStringLiteral("Panel1"), 1);
    m_panel2 = panel(QStringLiteral("Panel2"), 0);
    m_panel2->setMinimumWidth(110);
    m_panel3 = panel(QStringLiteral("Panel3"), 0);
    m_panel3->setMinimumWidth(80);
    m_panel3->setAlignment(Qt::AlignCenter);
    m_hints = std::make_unique<StatusHints>(m_panel1);
    m_clockTimer = new QTimer(this);
    connect(m_clockTimer, &QTimer::timeout, this, &FrmMain::updateClock);
    m_clockTimer->start(1000);
    updateClock();
}

void FrmMain::updateClock() {
    // Hours and minutes as the desktop writes them.
    QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
    format.remove(QRegularExpression(QStringLiteral("[:.]ss?")));
    const QString time = m_program.clock.now().time().toString(format);
    if (m_panel3->text() != time) {
        m_panel3->setText(time);
    }
}
