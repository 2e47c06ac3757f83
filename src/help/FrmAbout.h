#pragma once

#include <QDialog>

class QLabel;
struct AppInfo;
class Clock;

// The About box: the program's name, its version and the maker's notice. Shown modally.
class FrmAbout : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("About Plovix");

    FrmAbout(const AppInfo& app, const Clock& clock, QWidget* parent = nullptr);

    // Writes the version and the notice.
    void Form_Load();
    void cmdOK_Click();

private:
    const AppInfo& m_app;
    const Clock& m_clock;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
};
