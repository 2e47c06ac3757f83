// Compacting and repairing the life list file, salvaging what a damaged file still holds, and
// opening it at start-up.
#include "FileSizeLimit.h"
#include "FolderWatch.h"
#include "TestPlatform.h"
#include "database/DamageTools.h"

#include "services/MDatabase.h"
#include "database/FileOps.h"
#include "database/Maintenance.h"
#include "database/NewLifeList.h"
#include "database/Recordset.h"
#include "database/Schema.h"
#include "database/ShippedData.h"
#include "output/SightingTable.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QSet>
#include <QTest>
#include <cstring>

using damage::Rows;
using Outcome = MaintenanceReport::Outcome;

namespace {

const QString kName = u"Bird List"_s;

// The five tables of a list.
QMap<QString, Rows> contents(const QString& path) {
    QMap<QString, Rows> tables;
    for (const lifelist::Table& table : lifelist::tables()) {
        tables[table.name] = damage::readRows(path, table.name).value_or(Rows{{u"unreadable"_s}});
    }
    return tables;
}

// Damages the header of a leaf page of the sightings; the Numbers of the sightings on it.
QSet<qint64> damageLeaf(const QString& path, int page) {
    QSet<qint64> lost;
    for (const damage::Cell& cell : damage::cellsOnLeafPage(path, page)) {
        lost.insert(cell.rowid);
    }
    return damage::damagePageHeader(path, page) ? lost : QSet<qint64>{};
}

// The Number a sighting added to the list now gets.
qint64 addSighting(const QString& path) {
    if (!damage::execute(path, {(u"INSERT INTO \"Bird List\" (CommonName) "
                                 u"VALUES ('Added later')"_s)})) {
        return -1;
    }
    return damage::queryValue(path, u"SELECT max(Number) FROM \"Bird List\""_s).toLongLong();
}

// Gives a file the mode 0600, which a compacted or repaired copy must keep; the permissions.
QFile::Permissions ownerOnlyMode(const QString& path) {
    ::chmod(QFile::encodeName(path).constData(), 0600);
    return QFile(path).permissions();
}

// A damaged life list "source.mdb" to be salvaged into "target.mdb".
struct Salvage {
    QTemporaryDir dir;
    QString source = dir.filePath(u"source.mdb"_s);
    QString target = dir.filePath(u"target.mdb"_s);
    SalvageReport report;
    bool run() { return !salvageLifeList(source, target, ShippedData::load(), &report); }
};

}  // namespace

class TestMaintenance : public QObject {
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

    void salvageKeepsEveryReadableRow_data() {
        QTest::addColumn<QStringList>("changes");  // made to a list of 40 sightings
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("damagedTables");
        QTest::addColumn<int>("refilled");  // lookup tables with nothing saved
        const QString deleteSightings = u"DELETE FROM \"Bird List\" WHERE "_s;
        QTest::newRow("healthy") << QStringList{deleteSightings + u"Number IN (7, 8, 30)"_s,
                                                u"INSERT INTO Orders VALUES ('O''Brien')"_s,
                                                u"DELETE FROM Countries WHERE Country LIKE 'B%'"_s,
                                                u"INSERT INTO Regions VALUES (NULL)"_s}
                                 << QString() << QStringList() << 0;
        QTest::newRow("highest deleted")
            << QStringList{deleteSightings + u"Number = 41"_s} << QString() << QStringList() << 0;
        QTest::newRow("every sighting deleted")
            << QStringList{deleteSightings + u"1 = 1"_s} << QString() << QStringList() << 0;
        QTest::newRow("table entry damaged")
            << QStringList() << u"entry"_s << QStringList{u"Regions"_s} << 1;
        // The first page, with the file header and the list of tables, is destroyed; the
        // sightings are found page by page, with their comments on overflow pages.
        QTest::newRow("list of tables lost")
            << QStringList{u"UPDATE \"Bird List\" SET Country = 'Côte d''Ivoire', Year = NULL "
                           u"WHERE Number = 7"_s,
                           deleteSightings + u"Number = 9"_s}
            << u"first page"_s
            << QStringList{u"Bird List"_s, u"Orders"_s, u"Families"_s, u"Countries"_s,
                           u"Regions"_s}
            << 4;
    }
    void salvageKeepsEveryReadableRow() {
        QFETCH(QStringList, changes);
        QFETCH(QString, damage);
        QFETCH(QStringList, damagedTables);
        QFETCH(int, refilled);
        Salvage s;
        QVERIFY(damage::makeLifeList(s.source, 40, 9000));
        QVERIFY(damage::execute(s.source, changes));
        QMap<QString, Rows> before = contents(s.source);
        const QByteArray bytes = damage::fileBytes(s.source);
        if (damage == u"entry") {
            QVERIFY(damage::execute(s.source, {u"PRAGMA writable_schema = 1"_s,
                                               u"UPDATE sqlite_master SET sql = 'CREATE TABLE "
                                               u"Regions (' WHERE name = 'Regions'"_s}));
            QVERIFY(!damage::readRows(s.source, u"Orders"_s));  // the file no longer opens
        } else if (damage == u"first page") {
            QVERIFY(damage::overwritePage(s.source, 1));
        }
        QVERIFY(s.run());
        // A sound file is only read.
        QVERIFY(!damage.isEmpty() || damage::fileBytes(s.source) == bytes);
        QMap<QString, Rows> after = contents(s.target);
        QCOMPARE(s.report.pagesScanned, damage == u"first page");
        QCOMPARE(s.report.damagedTables, damagedTables);
        QCOMPARE(s.report.refilledTables.size(), refilled);
        QCOMPARE(s.report.rowsSaved.value(lifelist::kBirdList),
                 int(before.value(lifelist::kBirdList).size()));
        // A lookup table with nothing saved gets the shipped entries, which the list had.
        QCOMPARE(s.report.starterRecordAdded, before.value(lifelist::kBirdList).isEmpty());
        if (s.report.starterRecordAdded) {
            QCOMPARE(after.value(lifelist::kBirdList).size(), 1);
            QVERIFY(after.value(lifelist::kBirdList)[0][0].toLongLong() > 41);
            after.remove(lifelist::kBirdList);
            before.remove(lifelist::kBirdList);
        }
        QCOMPARE(after, before);
        // No later sighting gets a Number that was ever stored; the file is sound and current.
        QVERIFY(addSighting(s.target) > 41);
        QCOMPARE(damage::queryValue(s.target, u"PRAGMA integrity_check"_s).toString(), u"ok"_s);
        QCOMPARE(damage::queryValue(s.target, u"PRAGMA user_version"_s).toInt(),
                 lifelist::kSchemaVersion);
    }

    // What the table no longer leads to is found on the pages: a damaged leaf loses only its own
    // sightings, and a field that cannot be read whole (on a lost overflow page, cut off by the
    // end of the file) is left empty, the rest of its row kept.
    void salvageKeepsWhatIsLeftOfTheSightings_data() {
        QTest::addColumn<QList<int>>("damaged");  // leaves in rowid order; negative from the end
        QTest::addColumn<QString>("damage");      // "overflow" or "root" page, or "cut" file
        QTest::addColumn<int>("emptied");         // the Number whose Comments are lost; 0 for none
        QTest::newRow("middle leaf") << QList<int>{12} << QString() << 0;
        QTest::newRow("first leaf") << QList<int>{0} << QString() << 0;
        QTest::newRow("last leaf") << QList<int>{-1} << QString() << 0;
        QTest::newRow("good leaf between damaged ones") << QList<int>{5, 7} << QString() << 0;
        QTest::newRow("every other leaf") << QList<int>{2, 4, 6, 8, 10, 12, 14} << QString() << 0;
        QList<int> allButThree;  // good leaves few and far between
        for (int leaf = 2; leaf < 30; ++leaf) {
            if (leaf != 10 && leaf != 17 && leaf != 23) {
                allButThree.append(leaf);
            }
        }
        QTest::newRow("good leaves amid many damaged ones") << allButThree << QString() << 0;
        QTest::newRow("overflow page lost") << QList<int>() << u"overflow"_s << 10;
        QTest::newRow("table's root page damaged") << QList<int>() << u"root"_s << 0;
        QTest::newRow("file cut off in a page") << QList<int>() << u"cut"_s << 302;
    }
    void salvageKeepsWhatIsLeftOfTheSightings() {
        QFETCH(QList<int>, damaged);
        QFETCH(QString, damage);
        QFETCH(int, emptied);
        Salvage s;
        QVERIFY(damage::makeLifeList(s.source, 300));
        // Sighting 10 goes on over overflow pages; the last one gets a page of its own at the
        // end of the file.
        QVERIFY(damage::execute(
            s.source,
            {u"UPDATE \"Bird List\" SET Comments = printf('%.12000c', 'x') WHERE Number = 10"_s,
             (u"INSERT INTO \"Bird List\" (CommonName, Comments) "
              u"VALUES ('Cut off', printf('%.3000c', 'x'))"_s)}));
        const QMap<QString, Rows> before = contents(s.source);
        const QList<int> leaves = damage::leafPages(s.source, lifelist::kBirdList);
        QVERIFY(leaves.size() > 30);
        QSet<qint64> lost;
        for (int index : damaged) {
            const QSet<qint64> onPage =
                damageLeaf(s.source, leaves[index < 0 ? leaves.size() + index : index]);
            QVERIFY(!onPage.isEmpty());
            lost.unite(onPage);
        }
        Rows expected = before.value(lifelist::kBirdList);
        expected.removeIf(
            [&](const QVariantList& row) { return lost.contains(row[0].toLongLong()); });
        for (QVariantList& row : expected) {
            row[11] = row[0].toInt() == emptied ? QVariant() : row[11];
        }
        int page = damage::queryValue(s.source,
                                      u"SELECT rootpage FROM sqlite_master "
                                      u"WHERE name = 'Bird List'"_s)
                       .toInt();
        if (damage == QLatin1String("overflow")) {
            for (int leaf : leaves) {
                for (const damage::Cell& cell : damage::cellsOnLeafPage(s.source, leaf)) {
                    page = cell.rowid == 10 ? int(cell.overflowPage) : page;
                }
            }
            QVERIFY(damage::overwritePage(s.source, page));
        }
        QByteArray bytes = damage::fileBytes(s.source);
        if (damage == QLatin1String("root")) {
            bytes[(page - 1) * 4096] = 0;
        } else if (damage == QLatin1String("cut")) {
            bytes.chop(1000);
        }
        QVERIFY(damage::writeFile(s.source, bytes));
        QVERIFY(s.run());
        const QMap<QString, Rows> after = contents(s.target);
        QCOMPARE(after.value(lifelist::kBirdList), expected);
        for (const lifelist::Table& table : lifelist::tables().mid(1)) {
            QCOMPARE(after.value(table.name), before.value(table.name));
        }
        QVERIFY(damaged.isEmpty() || s.report.damagedTables == QStringList{lifelist::kBirdList});
        QCOMPARE(s.report.rowsSaved.value(lifelist::kBirdList), int(expected.size()));
        QVERIFY(addSighting(s.target) > 302);
    }

    void salvageOfNonDatabaseGivesNewList_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("sqliteHeader");
        QTest::newRow("random bytes") << 30000 << false;
        QTest::newRow("empty file") << 0 << false;
        QTest::newRow("database header, then garbage") << 8192 << true;
    }
    void salvageOfNonDatabaseGivesNewList() {
        QFETCH(int, size);
        QFETCH(bool, sqliteHeader);
        Salvage s;
        const QString fresh = s.dir.filePath(u"fresh.mdb"_s);
        QVERIFY(damage::writeGarbage(s.source, size, sqliteHeader));
        QVERIFY(!createNewLifeList(fresh, ShippedData::load()));
        QVERIFY(s.run());
        QCOMPARE(contents(s.target), contents(fresh));
        QVERIFY(s.report.starterRecordAdded);
        QCOMPARE(s.report.refilledTables.size(), 4);
        QCOMPARE(s.report.damagedTables.size(), 5);
    }

    void salvageFillsMissingPieces() {
        Salvage s;
        // Names in other letter cases, columns in another order, no Images column, an empty
        // Orders table and no Regions table.
        QVERIFY(damage::execute(
            s.source, {(u"CREATE TABLE \"bird list\" (number INTEGER PRIMARY KEY "
                        u"AUTOINCREMENT, commonname TEXT, \"ORDER\" TEXT, family TEXT, "
                        u"species TEXT, location TEXT, country TEXT, region TEXT, month TEXT, "
                        u"year TEXT, comments TEXT, additional TEXT, alternatename TEXT)"_s),
                       (u"INSERT INTO \"bird list\" VALUES (5, 'Kea', 'Psittaciformes', "
                        u"'Strigopidae', 'Nestor notabilis', 'Arthur''s Pass', 'New Zealand', "
                        u"'Oceania', '2', '1999', 'cheeky', NULL, 'Mountain Parrot')"_s),
                       u"CREATE TABLE orders (\"order\" TEXT)"_s,
                       u"CREATE TABLE Families (Family TEXT, \"Order\" TEXT)"_s,
                       u"INSERT INTO Families VALUES ('Strigopidae', 'Psittaciformes')"_s,
                       u"CREATE TABLE Countries (Country TEXT)"_s,
                       u"INSERT INTO Countries VALUES ('New Zealand')"_s}));
        const QString fresh = s.dir.filePath(u"fresh.mdb"_s);
        QVERIFY(!createNewLifeList(fresh, ShippedData::load()));
        QVERIFY(s.run());

        const QMap<QString, Rows> after = contents(s.target);
        QStringList kea;  // every field in the order of the life list's table
        for (const QVariant& value : after.value(lifelist::kBirdList).value(0)) {
            kea.append(value.isNull() ? u"-"_s : value.toString());
        }
        QCOMPARE(kea.join(u'|'),
                 u"5|Kea|Mountain Parrot|Psittaciformes|Strigopidae|Nestor "
                 u"notabilis|Arthur's Pass|New Zealand|Oceania|2|1999|cheeky|-|-"_s);
        QCOMPARE(after.value(lifelist::kBirdList).size(), 1);
        QCOMPARE(after.value(u"Countries"_s), Rows{{u"New Zealand"_s}});
        for (const char* refilled : {"Orders", "Regions"}) {
            QCOMPARE(after.value(QLatin1String(refilled)),
                     contents(fresh).value(QLatin1String(refilled)));
        }
        QCOMPARE(s.report.refilledTables, (QStringList{"Orders", "Regions"}));
        QCOMPARE(s.report.damagedTables, QStringList{"Regions"});
        QVERIFY(!s.report.starterRecordAdded);
        QCOMPARE(addSighting(s.target), 6);
    }

    void salvageRefuses_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("error");
        QTest::newRow("missing") << u"missing"_s << int(DbError::FileNotFound);
        QTest::newRow("folder") << u"folder"_s << int(fileops::PathFileAccessError);
        QTest::newRow("target exists") << u"target exists"_s << int(DbError::CannotOpen);
    }
    void salvageRefuses() {
        QFETCH(QString, source);
        QFETCH(int, error);
        Salvage s;
        if (source == QLatin1String("folder")) {
            QVERIFY(QDir(s.dir.path()).mkdir(u"source.mdb"_s));
        } else if (source != QLatin1String("missing")) {
            QVERIFY(damage::makeLifeList(s.source, 5));
        }
        if (source == QLatin1String("target exists")) {
            QVERIFY(damage::writeFile(s.target, "mine"));
        }
        QCOMPARE(salvageLifeList(s.source, s.target, ShippedData::load()).number, error);
        if (source == QLatin1String("target exists")) {
            QCOMPARE(damage::fileBytes(s.target), QByteArray("mine"));
        } else {
            QVERIFY(!QFileInfo::exists(s.target));
            QVERIFY(!QFileInfo::exists(s.target + u"-journal"_s));
        }
    }

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

QTEST_GUILESS_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
