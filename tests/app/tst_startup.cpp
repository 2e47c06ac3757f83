// Start-up and shut-down of the whole program, with scripted dialogs in a scratch folder.
#include "app/FrmSplash.h"
#include "app/MPlovix.h"
#include "app/UserName.h"
#include "database/NewLifeList.h"
#include "platform/ScriptedDialogs.h"
#include "record_form/FrmMain.h"

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// One run of the program, from Main to the end.
struct Run {
    explicit Run(const QString& folder)
        : program(AppInfo::inFolder(folder), dialogs, clock, cursor, shell),
          plovix(program, RegistryStore(folder + QStringLiteral("/registry.json")),
                 [this](int code) { endCodes.append(code); }) {}

    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2031, 5, 17), QTime(9, 30))};
    RecordingWaitCursor cursor;
    RecordingShell shell;
    Program program;
    MPlovix plovix;
    QList<int> endCodes;
};

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path(); }
    QString listPath() const { return m_dir.filePath(QStringLiteral("Bird List.mdb")); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init() {
        QFile::remove(listPath());
        QFile::remove(m_dir.filePath(QStringLiteral("registry.json")));
    }

    void splashRunsTheStartOnceAndShowsTheRecordForm() {
        QVERIFY(!createNewLifeList(listPath()));
        Run run(folder());
        QVERIFY(run.plovix.Main());
        QCOMPARE(run.program.gobjSettings->getSetting("Application", "FilePath"),
                 folder() + QStringLiteral("/Plovix"));
        QPointer<FrmSplash> splash = run.plovix.frmSplash();
        QVERIFY(splash && splash->isVisible());
        const auto* notice = splash->findChild<QLabel*>(QStringLiteral("lblCopyright"));
        QVERIFY(notice->text().contains(QStringLiteral("-2031 ")));
        QCOMPARE(splash->Timer1.interval(), 987);

        QTRY_VERIFY_WITH_TIMEOUT(run.plovix.frmMain() && run.plovix.frmMain()->isVisible(), 5000);
        QVERIFY(!splash);
        QCOMPARE(run.cursor.hourglassCount(), 1);
        QCOMPARE(run.cursor.mousePointer(), int(WaitCursor::Default));
        FrmMain* form = run.plovix.frmMain();
        QCOMPARE(form->windowTitle(), QStringLiteral("Plovix  -  Bird Sightings Life List"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("lblTotalSightings"))->text(),
                 QStringLiteral("Total Sightings: 1"));
        QVERIFY(run.dialogs.calls().isEmpty());
        QVERIFY(run.endCodes.isEmpty());

        // The timer's work is not repeated while the program runs.
        QTest::qWait(1100);
        QCOMPARE(run.cursor.hourglassCount(), 1);
    }

    void missingLifeListEndsTheProgram() {
        Run run(folder());
        QVERIFY(run.plovix.Main());
        run.plovix.StartProgram();
        QCOMPARE(run.dialogs.calls().size(), 1);
        QCOMPARE(run.dialogs.calls()[0].title, QStringLiteral("Application Startup Error"));
        QVERIFY(run.dialogs.calls()[0].prompt.startsWith(
            QStringLiteral("Plovix can not locate the Bird List database.\n")));
        QCOMPARE(run.endCodes, QList<int>{1});
        QVERIFY(!run.plovix.frmMain());
        QVERIFY(!QFile::exists(listPath()));
    }

    void windowComesBackWhereItWasClosed() {
        QVERIFY(!createNewLifeList(listPath()));
        QPoint closedAt;
        {
            Run run(folder());
            QVERIFY(run.plovix.Main());
            run.plovix.StartProgram();
            FrmMain* form = run.plovix.frmMain();
            QVERIFY(form && form->isVisible());
            form->move(form->pos() + QPoint(-40, 30));
            QTRY_VERIFY(form->pos() != QPoint());
            closedAt = form->frameGeometry().topLeft();
            form->menuItem(QStringLiteral("mnuExit"))->trigger();
            QCOMPARE(run.endCodes, QList<int>{0});
            QVERIFY(!run.program.gdbBirdList);
            QVERIFY(!run.program.grsBirdList);
        }
        Run again(folder());
        QVERIFY(again.plovix.Main());
        again.plovix.StartProgram();
        QCOMPARE(again.plovix.frmMain()->frameGeometry().topLeft(), closedAt);
    }

    void menusCarryTheirCaptionsAndKeys() {
        QVERIFY(!createNewLifeList(listPath()));
        Run run(folder());
        QVERIFY(run.plovix.Main());
        run.plovix.StartProgram();
        FrmMain* form = run.plovix.frmMain();
        const QList<std::tuple<QString, QString, QKeySequence>> items = {
            {"mnuStatistics", "View S&tatistics", QKeySequence(Qt::Key_F2)},
            {"mnuExit", "E&xit Plovix", QKeySequence(Qt::CTRL | Qt::Key_Q)},
            {"mnuUpdate", "&Update Life List", QKeySequence(Qt::Key_F12)},
            {"mnuEditDatabase", "&Life List Editor...", QKeySequence(Qt::CTRL | Qt::Key_E)},
            {"mnuLast", "Last Record", QKeySequence(Qt::Key_F8)},
            {"mnuCancelSearch", "Cancel Search", QKeySequence(Qt::CTRL | Qt::Key_F9)},
            {"mnuCompactDB", "Compact Database", QKeySequence()},
            {"mnuHelpContents", "Plovix Help Topics...", QKeySequence(Qt::Key_F1)},
        };
        for (const auto& [name, caption, key] : items) {
            QAction* item = form->menuItem(name);
            QVERIFY2(item, qPrintable(name));
            QCOMPARE(item->text(), caption);
            QCOMPARE(item->shortcut(), key);
        }
        QVERIFY(form->menuItem(QStringLiteral("mnuExit"))->isEnabled());
    }

    void ownersNameIsKeptBetweenRuns() {
        QVERIFY(!createNewLifeList(listPath()));
        {
            Run run(folder());
            QVERIFY(run.plovix.Main());
            QCOMPARE(run.program.gstrUserName, accountUserName());
            run.plovix.StartProgram();
            run.dialogs.type(QStringLiteral("  Ada Lovelace "));
            run.plovix.frmMain()->menuItem(QStringLiteral("mnuOwnerName"))->trigger();
            QCOMPARE(run.dialogs.calls().last().kind, ScriptedDialogs::Call::Input);
            QCOMPARE(run.dialogs.calls().last().defaultText, accountUserName());
            run.dialogs.cancelInput();
            run.plovix.frmMain()->menuItem(QStringLiteral("mnuOwnerName"))->trigger();
            QCOMPARE(run.program.gstrUserName, QStringLiteral("Ada Lovelace"));
        }
        Run again(folder());
        QVERIFY(again.plovix.Main());
        QCOMPARE(again.program.gstrUserName, QStringLiteral("Ada Lovelace"));
        // An owner may also choose to have no name shown.
        saveUserName(*again.program.gobjSettings, QString());
        QCOMPARE(loadUserName(*again.program.gobjSettings), QString());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
