// Start-up and shut-down of the whole program, with scripted dialogs in a scratch folder.
#include "TestPlatform.h"

#include "app/FrmSplash.h"
#include "app/MPlovix.h"
#include "settings/UserName.h"
#include "database/NewLifeList.h"
#include "record_form/FrmMain.h"

#include <sys/wait.h>
#include <unistd.h>
#include <QAction>
#include <QLabel>
#include <QLockFile>
#include <QtTest>

namespace {

// One run of the program, from Main to the end, in a program folder that outlives it.
struct Run : TestPlatform {
    explicit Run(const QString& folder)
        : TestPlatform(folder),
          plovix(*program, RegistryStore(file(u"registry.json"_s)),
                 [this](int code) { endCodes.append(code); }) {
        clock.set(QDateTime(QDate(2031, 5, 17), QTime(9, 30)));
    }
    // Starts the program as the splash's timer would.
    FrmMain* start() { return plovix.Main() ? (plovix.StartProgram(), plovix.frmMain()) : nullptr; }
    void trigger(const char* item) { plovix.frmMain()->findChild<QAction*>(item)->trigger(); }

    MPlovix plovix;
    QList<int> endCodes;
};

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString listPath() const { return m_dir.filePath(u"Bird List.mdb"_s); }

private slots:
    // Each test starts on a new life list and no settings.
    void init() {
        QFile::remove(listPath());
        QFile::remove(m_dir.filePath(u"registry.json"_s));
        QVERIFY(!createNewLifeList(listPath()));
    }

    void splashRunsTheStartOnceAndShowsTheRecordForm() {
        Run run(m_dir.path());
        QVERIFY(run.plovix.Main());
        QCOMPARE(run.program->gobjSettings->getSetting("Application", "FilePath"),
                 run.file(u"Plovix"_s));
        QPointer<FrmSplash> splash = run.plovix.frmSplash();
        QVERIFY(splash && splash->isVisible());
        QVERIFY(splash->findChild<QLabel*>(u"lblCopyright"_s)->text().endsWith(u"2024-2031"_s));

        QTRY_VERIFY_WITH_TIMEOUT(run.plovix.frmMain() && run.plovix.frmMain()->isVisible(), 5000);
        QVERIFY(!splash);
        QCOMPARE(run.cursor.hourglassCount(), 1);
        QCOMPARE(run.cursor.mousePointer(), int(WaitCursor::Default));
        FrmMain* form = run.plovix.frmMain();
        QCOMPARE(form->windowTitle(), u"Plovix  -  Bird Sightings Life List"_s);
        QCOMPARE(form->findChild<QLabel*>(u"lblTotalSightings"_s)->text(), u"Total Sightings: 1"_s);
        QVERIFY(run.dialogs.calls().isEmpty());
        QVERIFY(run.endCodes.isEmpty());
        // The timer's work is not repeated while the program runs.
        QTest::qWait(1100);
        QCOMPARE(run.cursor.hourglassCount(), 1);
    }

    void missingLifeListEndsTheProgram() {
        QVERIFY(QFile::remove(listPath()));
        Run run(m_dir.path());
        QVERIFY(!run.start());
        QCOMPARE_MESSAGES(run, (u"Application Startup Error|Plovix can not locate the Bird List "
                                u"database.\nPlease check that the database is named correctly "
                                u"('Bird List.mdb')\nand is located in the same folder as Plovix "
                                u"('Plovix')"_s));
        QCOMPARE(run.endCodes, QList<int>{1});
        QVERIFY(!QFile::exists(listPath()));
    }

    void oneCopyAtATimeWorksOnTheList() {
        const QString lockPath = m_dir.filePath(u"Bird List.lock"_s);
        {
            Run first(m_dir.path());
            QVERIFY(first.start());
            Run second(m_dir.path());
            QVERIFY(!second.start());
            QCOMPARE_MESSAGES(second,
                              u"Plovix|Plovix is already running with this life list "
                              u"(Bird List.mdb).\nSwitch to the Plovix window that is "
                              u"open."_s);
            QCOMPARE(second.endCodes, QList<int>{1});
        }
        QVERIFY(!QFile::exists(lockPath));
        // A copy that was killed leaves its lock behind; the next copy takes it over.
        const pid_t killed = fork();
        if (killed == 0) {
            QLockFile lock(lockPath);
            _exit(lock.tryLock(0) ? 0 : 1);
        }
        int status = -1;
        QCOMPARE(waitpid(killed, &status, 0), killed);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0 && QFile::exists(lockPath));
        Run next(m_dir.path());
        QVERIFY(next.start());
        QVERIFY(next.dialogs.calls().isEmpty());
    }

    void theWindowsPlaceAndTheOwnersNameAreKeptBetweenRuns() {
        QPoint closedAt;
        {
            Run run(m_dir.path());
            FrmMain* form = run.start();
            QCOMPARE(run.program->gstrUserName, accountUserName());
            run.dialogs.type(u"  Ada Lovelace "_s);
            run.trigger("mnuOwnerName");
            QCOMPARE(run.dialogs.calls().last().defaultText, accountUserName());
            run.dialogs.cancelInput();
            run.trigger("mnuOwnerName");
            QCOMPARE(run.program->gstrUserName, u"Ada Lovelace"_s);
            form->move(form->pos() + QPoint(-40, 30));
            QTRY_VERIFY(form->pos() != QPoint());
            closedAt = form->frameGeometry().topLeft();
            run.trigger("mnuExit");
            QCOMPARE(run.endCodes, QList<int>{0});
            QVERIFY(!run.program->gdbBirdList);
        }
        Run again(m_dir.path());
        QCOMPARE(again.start()->frameGeometry().topLeft(), closedAt);
        QCOMPARE(again.program->gstrUserName, u"Ada Lovelace"_s);
        // An owner may also choose to have no name shown.
        saveUserName(*again.program->gobjSettings, QString());
        QCOMPARE(loadUserName(*again.program->gobjSettings), QString());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
