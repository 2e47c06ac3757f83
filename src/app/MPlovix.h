#pragma once

#include "app/FrmSplash.h"
#include "services/Program.h"

#include <QPointer>
#include <functional>
#include <memory>

class FrmMain;
class QApplication;

// Start-up and shut-down: creates the settings store, shows the splash, opens the life list and
// brings up the record form; ends the program when the record form closes or start-up fails.
class MPlovix {
public:
    // `endProgram` ends the program with an exit code.
    MPlovix(Program& program, RegistryStore store, std::function<void(int)> endProgram);
    ~MPlovix();

    // Creates the settings store, records the program's path and shows the splash. False when
    // the program must end at once.
    bool Main();
    // Opens the life list and shows the record form (run once, from the splash's timer).
    void StartProgram();

    FrmSplash* frmSplash() const { return m_splash; }
    FrmMain* frmMain() const { return m_main.get(); }

private:
    void startUpError(const QString& description);
    void endProgram(int code);

    Program& m_program;
    RegistryStore m_store;
    std::function<void(int)> m_endProgram;
    QPointer<FrmSplash> m_splash;
    std::unique_ptr<FrmMain> m_main;
    bool m_ended = false;
};

// Runs the program with the desktop's own dialogs, pointer, shell and clock.
int plovixMain(QApplication& application);
