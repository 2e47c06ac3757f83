#include "help/FrmAbout.h"

#include "platform/AppInfo.h"
#include "platform/Clock.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

FrmAbout::FrmAbout(const AppInfo& app, const Clock& clock, QWidget* parent)
    : QDialog(parent), m_app(app), m_clock(clock) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(kCaption);
    setModal(true);

    auto* imgLogo = new QLabel;
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(QIcon(QStringLiteral(":/icons/plovix.png")).pixmap(64, 64));
    imgLogo->setAlignment(Qt::AlignTop);

    auto* lblTitle = new QLabel(QStringLiteral("Plovix"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(14.25);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    lblTitle->setFont(titleFont);

    lblVersion = new QLabel;
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel;
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    lblDescription->setMinimumWidth(340);

    auto* Line1 = new QFrame;
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    auto* cmdOK = new QPushButton(QStringLiteral("&OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);

    auto* layout = new QGridLayout(this);
    layout->addWidget(imgLogo, 0, 0, 3, 1);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblDescription, 2, 1);
    layout->addWidget(Line1, 3, 0, 1, 2);
    layout->addWidget(cmdOK, 4, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmAbout::Form_Load() {
    lblVersion->setText(
        QStringLiteral("Version %1.%2.%3").arg(m_app.major).arg(m_app.minor).arg(m_app.revision));
    // The notice ends in the maker's years, the last of them this year.
    lblDescription->setText(
        QStringLiteral("Bird names and taxonomy: AviList Core Team. 2025. AviList: The Global "
                       "Avian Checklist, v2025, licensed under CC BY 4.0.\n\n"
                       "Plovix is free software under the MIT License "
                       "(Help > License Agreement).\n") +
        AppInfo::makersNotice(m_clock.today().year()));
}

void FrmAbout::cmdOK_Click() {
    accept();
}
