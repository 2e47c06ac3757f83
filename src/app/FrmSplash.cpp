#include "app/FrmSplash.h"

#include "platform/AppInfo.h"
#include "platform/Clock.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kStartDelayMs = 987;
}  // namespace

FrmSplash::FrmSplash(const Clock& clock, std::function<void()> timerWork, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_clock(clock),
      m_timerWork(std::move(timerWork)) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Plovix"));
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QStringLiteral("FrmSplash { background: #fbf6e9; border: 2px solid #5a4628; }"));

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(QPixmap(QStringLiteral(":/icons/plovix.png"))
                           .scaled(160, 160, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    imgLogo->setAlignment(Qt::AlignCenter);

    auto* title = new QLabel(QStringLiteral("Plovix"), this);
    title->setFont(QFont(QStringLiteral("Arial"), 26, QFont::Bold, true));
    title->setAlignment(Qt::AlignCenter);
    auto* subtitle = new QLabel(QStringLiteral("Bird Sightings Life List"), this);
    subtitle->setFont(QFont(QStringLiteral("Arial"), 12));
    subtitle->setAlignment(Qt::AlignCenter);

    lblCopyright = new QLabel(this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    lblCopyright->setFont(QFont(QStringLiteral("Arial"), 9));
    lblCopyright->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 28, 36, 20);
    layout->addWidget(imgLogo);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addSpacing(18);
    layout->addWidget(lblCopyright);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(kStartDelayMs);
    connect(&Timer1, &QTimer::timeout, this, &FrmSplash::Timer1_Timer);

    adjustSize();
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        move(primary->availableGeometry().center() - rect().center());
    }
    Form_Load();
}

void FrmSplash::Form_Load() {
    lblCopyright->setText(AppInfo::makersNotice(m_clock.today().year()));
    Timer1.start();
}

void FrmSplash::Timer1_Timer() {
    // The work runs once, however long it takes.
    Timer1.stop();
    if (m_timerWork) {
        m_timerWork();
    }
}
