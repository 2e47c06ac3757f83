#include "app/MPlovix.h"

#include "app/FrmSplash.h"
#include "services/MDatabase.h"
#include "settings/UserName.h"
#include "platform/QtDialogs.h"
#include "platform/QtShell.h"
#include "platform/QtWaitCursor.h"
#include "platform/SystemClock.h"
#include "record_form/FrmMain.h"

#include <QApplication>
#include <exception>
#include <new>

namespace {

// Error numbers of failures that are not the database engine's.
constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;

}  // namespace

MPlovix::MPlovix(Program& program, RegistryStore store, std::function<void(int)> endProgram)
    : m_program(program), m_store(std::move(store)), m_endProgram(std::move(endProgram)) {}

MPlovix::~MPlovix() {
    delete m_splash.data();
}

void MPlovix::endProgram(int code) {
    if (m_ended) {
        return;
    }
    m_ended = true;
    if (m_splash) {
        m_splash->close();
    }
    if (m_endProgram) {
        m_endProgram(code);
    }
}

bool MPlovix::Main() {
    const QString title = m_program.app.title;
    try {
        m_program.gobjSettings = std::make_unique<CRegSettings>(m_store, title);
        m_program.gobjSettings->setAppName(title);
        // The full path of the running program, rewritten at every start.
        m_program.gobjSettings->saveSetting(
            QStringLiteral("Application"), QStringLiteral("FilePath"),
            m_program.app.path + QLatin1Char('/') + m_program.app.exeName);
        m_program.gstrUserName = loadUserName(*m_program.gobjSettings);

        m_splash = new FrmSplash(m_program.clock, [this] {
            m_program.cursor.setMousePointer(WaitCursor::Hourglass);
            StartProgram();
            m_program.cursor.setMousePointer(WaitCursor::Default);
        });
        m_splash->show();
        return true;
    } catch (const std::exception& error) {
        m_program.dialogs.msgBox(
            title + QStringLiteral(" Start-Up Error:\n") + QString::fromLocal8Bit(error.what()),
            mb::Critical | mb::OKOnly, title + QStringLiteral(" Error"));
        endProgram(1);
        return false;
    }
}

void MPlovix::startUpError(const QString& description) {
    m_program.cursor.setMousePointer(WaitCursor::Default);
    m_program.dialogs.msgBox(description, mb::Critical | mb::OKOnly,
                             QStringLiteral("Application Startup Error"));
    m_main.reset();
    m_program.closeBirdList();
    endProgram(1);
}

void MPlovix::StartProgram() {
    auto errorText = [](int number, const QString& description) {
        return QStringLiteral("Error Number %1:\n%2").arg(number).arg(description);
    };
    try {
        if (!claimBirdList(m_program) || !openBirdListDatabase(m_program)) {
            // The reason has been shown; the program ends.
            m_program.cursor.setMousePointer(WaitCursor::Default);
            endProgram(1);
            return;
        }
        m_main = std::make_unique<FrmMain>(m_program, [this] { endProgram(0); });
        if (DbError error = m_main->Form_Load()) {
            startUpError(errorText(error.number, error.description));
            return;
        }
        if (m_splash) {
            m_splash->close();
        }
        m_main->show();
    } catch (const std::bad_alloc&) {
        startUpError(errorText(kOutOfMemory, QStringLiteral("Out of memory")));
    } catch (const std::exception& error) {
        startUpError(errorText(kInternalError, QString::fromLocal8Bit(error.what())));
    }
}

int plovixMain(QApplication& application) {
    application.setApplicationName(QStringLiteral("Plovix"));
    application.setOrganizationName(QStringLiteral("Tenvane"));
    application.setWindowIcon(QIcon(QStringLiteral(":/icons/plovix.png")));
    // The program ends when the record form closes, not when the splash does.
    application.setQuitOnLastWindowClosed(false);

    QtDialogs dialogs(QStringLiteral("Plovix"));
    SystemClock clock;
    QtWaitCursor cursor;
    QtShell shell;
    Program program(AppInfo::forRunningProgram(), dialogs, clock, cursor, shell);

    int exitCode = 0;
    bool ended = false;
    MPlovix plovix(program, RegistryStore(RegistryStore::defaultFilePath()), [&](int code) {
        exitCode = code;
        ended = true;
        QCoreApplication::exit(code);
    });
    if (!plovix.Main() || ended) {
        return exitCode;
    }
    const int loopCode = application.exec();
    return ended ? exitCode : loopCode;
}
