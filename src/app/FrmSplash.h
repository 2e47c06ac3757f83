#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;
class Clock;

// The splash window: the logo and the maker's notice, shown while the program starts. Its
// one-shot timer runs the start-up work once the window has been drawn.
class FrmSplash : public QWidget {
    Q_OBJECT
public:
    FrmSplash(const Clock& clock, std::function<void()> timerWork, QWidget* parent = nullptr);

    QTimer Timer1;

private:
    void Form_Load();
    void Timer1_Timer();

    const Clock& m_clock;
    std::function<void()> m_timerWork;
    QLabel* imgLogo = nullptr;
    QLabel* lblCopyright = nullptr;
};
