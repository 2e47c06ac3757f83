// A damaged, emptied, busy or read-only life list met when the program opens it at start-up.
#include "database/MaintenanceCases.h"
#include "database/Recordset.h"

#include <QRegularExpression>

using namespace maintenance;

class TestDamagedStart : public QObject {
    Q_OBJECT

private slots:
    void anEmptiedListGetsTheStarterRecordBack() {
        TestPlatform p;
        QVERIFY(damage::makeLifeList(p.listPath(), 5));
        QVERIFY(damage::execute(p.listPath(), {u"DELETE FROM \"Bird List\""_s}));
        const qsizetype countries = contents(p.listPath()).value(u"Countries"_s).size();
        QVERIFY(openBirdListDatabase(*p.program));
        QCOMPARE(p.program->grsBirdList->recordCount(), 1);
        QCOMPARE(p.program->grsBirdList->value(u"CommonName"_s).toString(), lifelist::kStarterName);
        QCOMPARE(p.program->grsCountries->recordCount(), countries);
    }

    void openingAtStartUp_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("answer");
        QTest::newRow("not a database, repaired") << u"garbage"_s << int(mb::OK);
        QTest::newRow("damaged page, repaired") << u"damaged"_s << int(mb::OK);
        QTest::newRow("repair declined") << u"garbage"_s << int(mb::Cancel);
        // Waits out the engine's busy timeout twice.
        QTest::newRow("in use by another program") << u"in use"_s << int(mb::Cancel);
        // Asked once, told once: no repair can write it.
        QTest::newRow("damaged and read-only") << u"read-only"_s << int(mb::OK);
    }
    void openingAtStartUp() {
        QFETCH(QString, file);
        QFETCH(int, answer);
        TestPlatform p;
        int expected = 1;  // the starter record of a new list
        if (file == QLatin1String("garbage") || file == QLatin1String("read-only")) {
            QVERIFY(damage::writeGarbage(p.listPath(), 12000));
        } else if (file == QLatin1String("damaged")) {
            QVERIFY(damage::makeLifeList(p.listPath(), 60));
            const QList<int> leaves = damage::leafPages(p.listPath(), lifelist::kBirdList);
            expected = 61 - int(damageLeaf(p.listPath(), leaves[3]).size());
            QVERIFY(expected < 61);
        }
        std::shared_ptr<sqlite3> lock;
        if (file == QLatin1String("in use")) {
            QVERIFY(damage::makeLifeList(p.listPath(), 5));
            lock = damage::holdExclusiveLock(p.listPath());
            QVERIFY(lock);
        }
        const QByteArray bytes = damage::fileBytes(p.listPath());
        p.dialogs.answer(answer);
        if (file == QLatin1String("read-only")) {
            QVERIFY(QFile::setPermissions(p.listPath(), QFile::ReadOwner));
            QVERIFY(!openBirdListDatabase(*p.program));
            const QStringList told = p.takeMessages();
            QCOMPARE(told.size(), 1);
            QVERIFY2(told[0].startsWith(u"Application Startup Error|There was an error in "
                                        u"opening the Plovix database:\n"_s) &&
                         told[0].contains(u"It cannot be repaired while it is read-only. Make "
                                          u"the file '"_s +
                                          p.listPath()),
                     qPrintable(told[0]));
            QCOMPARE(p.files(), QStringList{u"Bird List.mdb"_s});
            QCOMPARE(damage::fileBytes(p.listPath()), bytes);
            return;
        }

        QCOMPARE(openBirdListDatabase(*p.program), answer == mb::OK);

        const QList<ScriptedDialogs::Call> calls = p.dialogs.calls();
        if (lock) {
            // Busy is not damaged: no repair is offered, and none makes a backup.
            QCOMPARE(p.takeMessages(),
                     QStringList{u"Life List In Use|Your life list (Bird List.mdb) is in use by "
                                 u"another program.\nClose that program, then try again."_s});
            QCOMPARE(calls[0].style, mb::Exclamation | mb::RetryCancel);
            QCOMPARE(repairLifeList(p.folder(), kName).error.number, int(DbError::Locked));
            QCOMPARE(p.files(), QStringList{u"Bird List.mdb"_s});
            return;
        }
        // However much is damaged, the question stays short enough for its buttons to show: the
        // engine's description is one line.
        QVERIFY2(QRegularExpression(u"^There was an error in opening the Plovix database:\n[^\n]*"
                                    u"\n\nWould you like to attempt to repair the database\\?\\z"_s)
                     .match(calls[0].prompt)
                     .hasMatch(),
                 qPrintable(calls[0].prompt));
        QCOMPARE(calls[0].style, mb::Question | mb::OKCancel);
        QCOMPARE(calls[0].title, QString());
        if (answer == mb::Cancel) {
            QCOMPARE(calls.size(), 1);
            QCOMPARE(p.files(), QStringList{u"Bird List.mdb"_s});
            QCOMPARE(damage::fileBytes(p.listPath()), bytes);
            QVERIFY(!p.program->gdbBirdList);
            return;
        }
        QCOMPARE(calls.size(), 2);
        QCOMPARE(damage::fileBytes(backupPath(p.folder(), kName, 1)), bytes);
        QCOMPARE(p.program->grsBirdList->recordCount(), expected);
    }
};

QTEST_GUILESS_MAIN(TestDamagedStart)
#include "tst_damaged_start.moc"
