// Compacting the life list file, the numbered backups a repair keeps, and files written over
// a full disk.
#include "FileSizeLimit.h"
#include "FolderWatch.h"
#include "database/FileOps.h"
#include "database/MaintenanceCases.h"
#include "database/Recordset.h"
#include "output/SightingTable.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cstring>

using namespace maintenance;

namespace {

// Gives a file the mode 0600, which a compacted or repaired copy must keep; the permissions.
QFile::Permissions ownerOnlyMode(const QString& path) {
    ::chmod(QFile::encodeName(path).constData(), 0600);
    return QFile(path).permissions();
}

}  // namespace

class TestCompact : public QObject {
    Q_OBJECT

private slots:
    void compact_data() {
        QTest::addColumn<QString>("leftover");
        QTest::newRow("no scratch file") << QString();
        QTest::newRow("garbage scratch file") << u"garbage"_s;
        // A crash after the copy was written and before it was renamed: the copy is stale.
        QTest::newRow("stale copy from a crash") << u"stale"_s;
        // A crash while the copy was written: the engine's journal of the copy is left too.
        QTest::newRow("copy and its journal from a crash") << u"journal"_s;
    }
    void compact() {
        QFETCH(QString, leftover);
        TestPlatform p;
        const QString scratch = p.file(u"Bird List Temp.mdb"_s);
        QVERIFY(damage::makeLifeList(p.listPath(), 80));
        const QFile::Permissions ownerOnly = ownerOnlyMode(p.listPath());
        if (leftover == QLatin1String("garbage")) {
            QVERIFY(damage::writeGarbage(scratch, 5000));
        } else if (leftover == QLatin1String("stale")) {
            QVERIFY(QFile::copy(p.listPath(), scratch));
        } else if (leftover == QLatin1String("journal")) {
            QVERIFY(damage::writeGarbage(scratch, 8192, true));
            QVERIFY(damage::writeFile(
                scratch + u"-journal"_s,
                QByteArray::fromHex("d9d505f920a163d7") + QByteArray(4096, '\x11')));
        }
        // Free pages to compact away, and a deleted highest Number that must never come back.
        QVERIFY(damage::execute(p.listPath(), {u"DELETE FROM \"Bird List\" WHERE Number % 3 = 0"_s,
                                               u"DELETE FROM \"Bird List\" WHERE Number = 81"_s}));
        const QMap<QString, Rows> before = contents(p.listPath());
        const qint64 sizeBefore = QFileInfo(p.listPath()).size();

        const FolderWatch watch(p.folder());
        QCOMPARE(compactLifeList(p.folder(), kName).outcome, Outcome::Done);
        const QStringList gone = watch.names();

        QCOMPARE(p.files(), QStringList{u"Bird List.mdb"_s});
        QCOMPARE(contents(p.listPath()), before);
        QVERIFY(QFileInfo(p.listPath()).size() < sizeBefore);
        QCOMPARE(QFile(p.listPath()).permissions(), ownerOnly);
        QCOMPARE(addSighting(p.listPath()), 82);
        // The list's name was never free: the compacted copy took it over in one rename.
        QVERIFY2(gone.contains(u"Bird List Temp.mdb"_s) && !gone.contains(u"Bird List.mdb"_s),
                 qPrintable(gone.join(',')));
    }

    void failuresKeepTheFile_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("not a database") << u"garbage"_s;
        QTest::newRow("damaged page") << u"damaged"_s;
        // Neither compacted nor repaired, which would make it writable.
        QTest::newRow("read-only") << u"read-only"_s;
    }
    // Output reads the whole list or fails: a damaged page is not the end of the list.
    void outputReadsAllOrFails() {
        TestPlatform p;
        QVERIFY(damage::makeLifeList(p.listPath(), 60));
        DbError error;
        const std::unique_ptr<Database> db = Database::open(p.listPath(), error);
        QVERIFY(db);
        SightingTable table;
        QVERIFY(!SightingTable::read(*db, {u"CommonName"_s}, table));
        QCOMPARE(table.size(), 61);
        // The disk fails under the open list; the changed counter in the file's header makes the
        // engine read its pages afresh.
        const QList<int> leaves = damage::leafPages(p.listPath(), lifelist::kBirdList);
        QVERIFY(damage::damagePageHeader(p.listPath(), leaves[leaves.size() / 2]));
        QByteArray bytes = damage::fileBytes(p.listPath());
        ++bytes[27];
        QVERIFY(damage::writeFile(p.listPath(), bytes));
        QCOMPARE(SightingTable::read(*db, {u"CommonName"_s}, table).number,
                 int(DbError::NotADatabase));
        QCOMPARE(table.size(), 0);
    }

    void failuresKeepTheFile() {
        QFETCH(QString, file);
        TestPlatform p;
        if (file == QLatin1String("garbage")) {
            QVERIFY(damage::writeGarbage(p.listPath(), 20000));
        } else {
            QVERIFY(damage::makeLifeList(p.listPath(), 60));
            const QList<int> leaves = damage::leafPages(p.listPath(), lifelist::kBirdList);
            QVERIFY(file == QLatin1String("read-only")
                        ? QFile::setPermissions(p.listPath(), QFile::ReadOwner | QFile::ReadOther)
                        : !damageLeaf(p.listPath(), leaves[leaves.size() / 2]).isEmpty());
        }
        const QByteArray bytes = damage::fileBytes(p.listPath());
        const MaintenanceReport report = compactLifeList(p.folder(), kName);
        QCOMPARE(report.outcome, Outcome::Failed);
        QVERIFY(!report.error.description.isEmpty());
        if (file == QLatin1String("read-only")) {
            QCOMPARE(repairLifeList(p.folder(), kName).error.number, int(DbError::ReadOnly));
        }
        QCOMPARE(p.files(), QStringList{u"Bird List.mdb"_s});
        QCOMPARE(damage::fileBytes(p.listPath()), bytes);

        // Told as the user sees it.
        QVERIFY(!compactBirdList(*p.program, kName));
        QCOMPARE(p.dialogs.calls().last().title, u"Database Compacting Error"_s);
        QCOMPARE(p.dialogs.calls().last().style, mb::Exclamation | mb::OKOnly);
        QCOMPARE(p.cursor.mousePointer(), int(WaitCursor::Default));
    }

    // A file written over a full disk keeps the old one, says why, and leaves nothing behind;
    // a write cut short halfway is no "Unknown error". A small file, or the end of one, fails
    // as a large one does: nothing waits in a buffer to fail after the checks.
    void aFileWrittenOnAFullDisk_data() {
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("size");
        QTest::newRow("nothing fits") << qint64(0) << 100'000;
        QTest::newRow("the start fits") << qint64(4096) << 100'000;
        QTest::newRow("a small file, nothing fits") << qint64(0) << 10'000;
        QTest::newRow("a small file, the start fits") << qint64(4096) << 10'000;
        QTest::newRow("all but the end fits") << qint64(98'304) << 100'000;
    }
    void aFileWrittenOnAFullDisk() {
        QFETCH(qint64, limit);
        QFETCH(int, size);
        TestPlatform p;
        const QString path = p.file(u"Life List.csv"_s);
        QVERIFY(damage::writeFile(path, "the copy saved before"));
        const QByteArray contents(size, 'x');
        DbError error;
        {
            FileSizeLimit full(limit);
            error = fileops::writeWhole(path, contents);
        }
        QCOMPARE(error.number, int(fileops::PathFileAccessError));
        QCOMPARE(error.description, u"The file '%1' could not be written: %2"_s.arg(
                                        path, QString::fromLocal8Bit(std::strerror(EFBIG))));
        QCOMPARE(damage::fileBytes(path), QByteArray("the copy saved before"));
        QCOMPARE(p.files(), QStringList{u"Life List.csv"_s});
        QVERIFY(!fileops::writeWhole(path, contents));
        QCOMPARE(damage::fileBytes(path), contents);
    }

    void aMissingFileIsReported() {
        TestPlatform p;
        QCOMPARE(repairLifeList(p.folder(), kName).outcome, Outcome::Missing);
        QVERIFY(!compactBirdList(*p.program, kName));
        QVERIFY(!repairBirdList(*p.program, kName));
        const QString missing =
            (u"Missing Database|Plovix database (Bird List.mdb) not found.\n"
             u"It should be located in the same folder as your Plovix program (Plovix)"_s);
        QCOMPARE_MESSAGES(p, missing, missing);
        QVERIFY(p.files().isEmpty());
    }

    void repairKeepsNumberedBackups() {
        TestPlatform p;
        QVERIFY(damage::makeLifeList(p.listPath(), 40));
        const QMap<QString, Rows> before = contents(p.listPath());
        const auto backup = [&](int n) { return backupPath(p.folder(), kName, n); };
        const QFile::Permissions ownerOnly = ownerOnlyMode(p.listPath());
        // A backup gets its name only once it is whole: nothing is ever written under it.
        const FolderWatch written(p.folder(), IN_MODIFY);

        QByteArray copies[3];
        for (QByteArray& copy : copies) {
            copy = damage::fileBytes(p.listPath());
            QVERIFY(repairBirdList(*p.program, kName));
            // A deleted backup's number is the first free one again.
            if (&copy == &copies[1]) {
                QVERIFY(QFile::remove(backup(1)));
            }
        }
        QCOMPARE(p.takeMessages(),
                 QStringList(3, u"|Plovix database repair procedure complete."_s));
        QCOMPARE(damage::fileBytes(backup(1)), copies[2]);
        QCOMPARE(damage::fileBytes(backup(2)), copies[1]);
        QCOMPARE(p.files().size(), 3);
        QVERIFY(!written.names().contains(QFileInfo(backup(1)).fileName()));
        for (const QString& file : p.files()) {
            QCOMPARE(QFile(p.file(file)).permissions(), ownerOnly);
        }
        QCOMPARE(contents(p.listPath()), before);
        QCOMPARE(p.cursor.mousePointer(), int(WaitCursor::Default));

        // With every number taken no repair is made, as it could not be undone.
        for (int n = 3; n <= 500; ++n) {
            QVERIFY(damage::writeFile(backup(n), QByteArray::number(n)));
        }
        const QByteArray unrepaired = damage::fileBytes(p.listPath());
        QVERIFY(!repairBirdList(*p.program, kName));
        QCOMPARE_MESSAGES(p,
                          u"Database Repairing Error|No backup copy of your life list can be "
                          u"made: the backups 1 to 500 of \"Old Bird List Backup(n).mdb\" all "
                          u"exist. Move some of them away and repair again.\n\nYour life list "
                          u"has not been changed."_s);
        QCOMPARE(p.files().size(), 501);
        QCOMPARE(damage::fileBytes(backup(500)), QByteArray("500"));
        QCOMPARE(damage::fileBytes(p.listPath()), unrepaired);
    }
};

QTEST_GUILESS_MAIN(TestCompact)
#include "tst_compact.moc"
