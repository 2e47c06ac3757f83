#include "app/Program.h"
#include "database/DamageTools.h"
#include "database/FileOps.h"
#include "database/Maintenance.h"
#include "database/NewLifeList.h"
#include "database/OpenBirdList.h"
#include "database/Salvage.h"
#include "database/Schema.h"
#include "database/ShippedData.h"
#include "platform/ScriptedDialogs.h"

#include <sys/inotify.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using damage::Rows;

namespace {

// A program folder with the platform replaced by recording stand-ins.
struct Env {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(8, 0))};
    RecordingWaitCursor cursor;
    RecordingShell shell;
    Program program{AppInfo::inFolder(dir.path()), dialogs, clock, cursor, shell};

    QString file(const QString& name) const { return dir.filePath(name); }
    QString list() const { return file(QStringLiteral("Bird List.mdb")); }
    QString scratch() const { return file(QStringLiteral("Bird List Temp.mdb")); }
    QString backup(int n) const { return backupPath(dir.path(), QStringLiteral("Bird List"), n); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
};

// The five tables of a list.
QMap<QString, Rows> contents(const QString& path) {
    QMap<QString, Rows> tables;
    for (const lifelist::Table& table : lifelist::tables()) {
        tables[table.name] =
            damage::readRows(path, table.name).value_or(Rows{{QStringLiteral("unreadable")}});
    }
    return tables;
}

QList<qint64> numbersOf(const Rows& rows) {
    QList<qint64> numbers;
    for (const QVariantList& row : rows) {
        numbers.append(row.first().toLongLong());
    }
    return numbers;
}

// The Number a sighting added to the list now gets.
qint64 addSighting(const QString& path) {
    if (!damage::execute(path, {QStringLiteral("INSERT INTO \"Bird List\" (CommonName) "
                                               "VALUES ('Added later')")})) {
        return -1;
    }
    return damage::queryValue(path, QStringLiteral("SELECT max(Number) FROM \"Bird List\""))
        .toLongLong();
}

// The names taken out of a folder (deleted or renamed away) and the names renamed into it while
// it is watched, from the kernel's queue of events: nothing that happened is missed.
class FolderWatch {
public:
    explicit FolderWatch(const QString& folder) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (m_fd >= 0) {
            inotify_add_watch(m_fd, QFile::encodeName(folder).constData(),
                              IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO);
        }
    }
    ~FolderWatch() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    bool isValid() const { return m_fd >= 0; }
    void collect() {
        alignas(inotify_event) char buffer[1 << 16];
        ssize_t size;
        while ((size = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len) {
                    const QString name = QFile::decodeName(event->name);
                    (event->mask & IN_MOVED_TO ? arrived : gone).append(name);
                }
                at += sizeof(inotify_event) + event->len;
            }
        }
    }
    QStringList gone;
    QStringList arrived;

private:
    int m_fd;
};

const QString kMissingMessage = QStringLiteral(
    "Plovix database (Bird List.mdb) not found.\n"
    "It should be located in the same folder as your Plovix program (Plovix)");

}  // namespace

class TestMaintenance : public QObject {
    Q_OBJECT

private slots:
    void compact_data();
    void compact();
    void compactFailureKeepsFile_data();
    void compactFailureKeepsFile();
    void missingDatabase_data();
    void missingDatabase();

    void repairKeepsNumberedBackups();
    void repairWithEveryBackupTaken();

    void salvageKeepsHealthyList();
    void salvageLosesOnlyDamagedPages_data();
    void salvageLosesOnlyDamagedPages();
    void salvageKeepsReadableFieldsOfDamagedRow();
    void salvageOfNonDatabaseGivesNewList_data();
    void salvageOfNonDatabaseGivesNewList();
    void salvageFillsMissingPieces();
    void salvageSurvivesDamagedTableEntry();
    void salvageFindsSightingsWithoutTableList();
    void salvageNeverReusesNumbers_data();
    void salvageNeverReusesNumbers();
    void salvageRefuses_data();
    void salvageRefuses();

    void startupWithoutList();
    void startupRepairsUnusableList_data();
    void startupRepairsUnusableList();
    void startupRepairCancelled();
};

// ---- Compacting ------------------------------------------------------------------------------

void TestMaintenance::compact_data() {
    QTest::addColumn<QString>("leftover");
    QTest::newRow("no scratch file") << QString();
    QTest::newRow("garbage scratch file") << QStringLiteral("garbage");
    // A crash after the copy was written and before it was renamed: the copy is out of date.
    QTest::newRow("stale copy from a crash") << QStringLiteral("stale");
}

void TestMaintenance::compact() {
    QFETCH(QString, leftover);
    Env env;
    QVERIFY(damage::makeLifeList(env.list(), 80));
    if (leftover == QLatin1String("garbage")) {
        QVERIFY(damage::writeGarbage(env.scratch(), 5000));
    } else if (leftover == QLatin1String("stale")) {
        QVERIFY(QFile::copy(env.list(), env.scratch()));
    }
    // Free pages to compact away, and a deleted highest Number that must never come back.
    QVERIFY(damage::execute(env.list(),
                            {QStringLiteral("DELETE FROM \"Bird List\" WHERE Number % 3 = 0"),
                             QStringLiteral("DELETE FROM \"Bird List\" WHERE Number = 81")}));
    const QMap<QString, Rows> before = contents(env.list());
    const qint64 sizeBefore = QFileInfo(env.list()).size();

    FolderWatch watch(env.dir.path());
    QVERIFY(watch.isValid());
    QVERIFY(compactBirdList(env.program, QStringLiteral("Bird List")));
    watch.collect();

    QCOMPARE(env.dialogs.calls().size(), 1);
    QCOMPARE(env.dialogs.calls()[0].prompt,
             QStringLiteral("Plovix database compacted successfully."));
    QCOMPARE(env.dialogs.calls()[0].style, 64);
    QCOMPARE(env.dialogs.calls()[0].title, QString());
    QCOMPARE(env.cursor.mousePointer(), int(WaitCursor::Default));
    QVERIFY(env.cursor.hourglassCount() > 0);

    QCOMPARE(env.files(), QStringList{QStringLiteral("Bird List.mdb")});
    QCOMPARE(contents(env.list()), before);
    QVERIFY(QFileInfo(env.list()).size() < sizeBefore);
    QCOMPARE(addSighting(env.list()), 82);
    // The list's name was never free: the compacted copy took it over in one rename.
    QVERIFY2(!watch.gone.contains(QStringLiteral("Bird List.mdb")),
             qPrintable(watch.gone.join(',')));
    QVERIFY(watch.arrived.contains(QStringLiteral("Bird List.mdb")));
}

void TestMaintenance::compactFailureKeepsFile_data() {
    QTest::addColumn<bool>("garbage");
    QTest::newRow("not a database") << true;
    QTest::newRow("damaged page") << false;
}

void TestMaintenance::compactFailureKeepsFile() {
    QFETCH(bool, garbage);
    Env env;
    if (garbage) {
        QVERIFY(damage::writeGarbage(env.list(), 20000));
    } else {
        QVERIFY(damage::makeLifeList(env.list(), 60));
        const QList<int> leaves = damage::leafPages(env.list(), lifelist::kBirdList);
        QVERIFY(leaves.size() > 3);
        QVERIFY(damage::damagePageHeader(env.list(), leaves[leaves.size() / 2]));
    }
    const QByteArray bytes = damage::fileBytes(env.list());

    QVERIFY(!compactBirdList(env.program, QStringLiteral("Bird List")));

    QCOMPARE(env.dialogs.calls().size(), 1);
    QCOMPARE(env.dialogs.calls()[0].title, QStringLiteral("Database Compacting Error"));
    QCOMPARE(env.dialogs.calls()[0].style, 48);
    QVERIFY(!env.dialogs.calls()[0].prompt.isEmpty());
    QCOMPARE(env.cursor.mousePointer(), int(WaitCursor::Default));
    QCOMPARE(env.files(), QStringList{QStringLiteral("Bird List.mdb")});
    QCOMPARE(damage::fileBytes(env.list()), bytes);
}

void TestMaintenance::missingDatabase_data() {
    QTest::addColumn<bool>("repair");
    QTest::newRow("compact") << false;
    QTest::newRow("repair") << true;
}

void TestMaintenance::missingDatabase() {
    QFETCH(bool, repair);
    Env env;
    const QString name = QStringLiteral("Bird List");
    QVERIFY(!(repair ? repairBirdList(env.program, name) : compactBirdList(env.program, name)));
    QCOMPARE(env.dialogs.calls().size(), 1);
    QCOMPARE(env.dialogs.calls()[0].prompt, kMissingMessage);
    QCOMPARE(env.dialogs.calls()[0].style, 48);
    QCOMPARE(env.dialogs.calls()[0].title, QStringLiteral("Missing Database"));
    QCOMPARE(env.cursor.mousePointer(), int(WaitCursor::Default));
    QVERIFY(env.files().isEmpty());
}

// ---- Repairing -------------------------------------------------------------------------------

void TestMaintenance::repairKeepsNumberedBackups() {
    Env env;
    const QString name = QStringLiteral("Bird List");
    QVERIFY(damage::makeLifeList(env.list(), 40));
    const QMap<QString, Rows> before = contents(env.list());

    const QByteArray first = damage::fileBytes(env.list());
    QVERIFY(repairBirdList(env.program, name));
    QCOMPARE(env.dialogs.calls().size(), 1);
    QCOMPARE(env.dialogs.calls()[0].prompt,
             QStringLiteral("Plovix database repair procedure complete."));
    QCOMPARE(env.dialogs.calls()[0].style, 64);
    QCOMPARE(env.dialogs.calls()[0].title, QString());
    QCOMPARE(env.cursor.mousePointer(), int(WaitCursor::Default));
    QCOMPARE(damage::fileBytes(env.backup(1)), first);
    QCOMPARE(contents(env.list()), before);

    const QByteArray second = damage::fileBytes(env.list());
    QVERIFY(repairBirdList(env.program, name));
    QCOMPARE(damage::fileBytes(env.backup(1)), first);
    QCOMPARE(damage::fileBytes(env.backup(2)), second);

    // A deleted backup's number is the first free one again.
    QVERIFY(QFile::remove(env.backup(1)));
    const QByteArray third = damage::fileBytes(env.list());
    QVERIFY(repairBirdList(env.program, name));
    QCOMPARE(damage::fileBytes(env.backup(1)), third);
    QCOMPARE(damage::fileBytes(env.backup(2)), second);
    QCOMPARE(env.files().size(), 3);
    QCOMPARE(contents(env.list()), before);
}

void TestMaintenance::repairWithEveryBackupTaken() {
    Env env;
    QVERIFY(damage::makeLifeList(env.list(), 10));
    for (int n = 1; n <= 500; ++n) {
        QVERIFY(damage::writeFile(env.backup(n), QByteArray::number(n)));
    }
    const QMap<QString, Rows> before = contents(env.list());

    QVERIFY(repairBirdList(env.program, QStringLiteral("Bird List")));
    QCOMPARE(env.dialogs.calls().size(), 1);
    QCOMPARE(env.dialogs.calls()[0].style, 64);
    QCOMPARE(env.files().size(), 501);
    QCOMPARE(damage::fileBytes(env.backup(1)), QByteArray("1"));
    QCOMPARE(damage::fileBytes(env.backup(500)), QByteArray("500"));
    QCOMPARE(contents(env.list()), before);
}

// ---- Salvaging -------------------------------------------------------------------------------

void TestMaintenance::salvageKeepsHealthyList() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    QVERIFY(damage::makeLifeList(source, 50));
    QVERIFY(damage::execute(
        source, {QStringLiteral("DELETE FROM \"Bird List\" WHERE Number IN (7, 8, 30)"),
                 QStringLiteral("INSERT INTO Orders (\"Order\") VALUES ('Unplaced O''Brien')"),
                 QStringLiteral("DELETE FROM Countries WHERE Country LIKE 'B%'"),
                 QStringLiteral("INSERT INTO Regions (Region) VALUES (NULL)")}));
    const QMap<QString, Rows> before = contents(source);
    const QByteArray bytes = damage::fileBytes(source);

    SalvageReport report;
    QCOMPARE(salvageLifeList(source, target, ShippedData::load(), &report).number, 0);

    QCOMPARE(contents(target), before);
    QCOMPARE(damage::fileBytes(source), bytes);
    QCOMPARE(report.rowsSaved.value(lifelist::kBirdList), 48);
    QCOMPARE(report.rowsSaved.value(QStringLiteral("Regions")),
             int(before.value(QStringLiteral("Regions")).size()));
    QVERIFY(report.damagedTables.isEmpty());
    QVERIFY(report.refilledTables.isEmpty());
    QVERIFY(!report.starterRecordAdded);
    // Readable by any SQLite, sound, and of the current layout.
    QCOMPARE(damage::queryValue(target, QStringLiteral("PRAGMA integrity_check")).toString(),
             QStringLiteral("ok"));
    QCOMPARE(damage::queryValue(target, QStringLiteral("PRAGMA user_version")).toInt(),
             lifelist::kSchemaVersion);
}

void TestMaintenance::salvageLosesOnlyDamagedPages_data() {
    QTest::addColumn<QList<int>>("damaged");  // leaves in rowid order; negative from the end
    QTest::newRow("middle leaf") << QList<int>{12};
    QTest::newRow("first leaf") << QList<int>{0};
    QTest::newRow("last leaf") << QList<int>{-1};
    QTest::newRow("good leaf between damaged ones") << QList<int>{5, 7};
    QTest::newRow("run of leaves") << QList<int>{9, 10, 11, 12};
    QTest::newRow("every other leaf") << QList<int>{2, 4, 6, 8, 10, 12, 14};
    QList<int> allButThree;  // good leaves few and far between
    for (int leaf = 2; leaf < 30; ++leaf) {
        if (leaf != 10 && leaf != 17 && leaf != 23) {
            allButThree.append(leaf);
        }
    }
    QTest::newRow("good leaves amid many damaged ones") << allButThree;
}

void TestMaintenance::salvageLosesOnlyDamagedPages() {
    QFETCH(QList<int>, damaged);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    QVERIFY(damage::makeLifeList(source, 150));
    const QMap<QString, Rows> before = contents(source);
    const Rows sightings = before.value(lifelist::kBirdList);
    const qint64 highest = numbersOf(sightings).last();

    const QList<int> leaves = damage::leafPages(source, lifelist::kBirdList);
    QVERIFY(leaves.size() > 20);
    QSet<qint64> lost;
    for (int index : damaged) {
        const int page = leaves[index < 0 ? leaves.size() + index : index];
        const QList<damage::Cell> cells = damage::cellsOnLeafPage(source, page);
        QVERIFY(!cells.isEmpty());
        for (const damage::Cell& cell : cells) {
            lost.insert(cell.rowid);
        }
        QVERIFY(damage::damagePageHeader(source, page));
    }
    Rows expected;
    for (const QVariantList& row : sightings) {
        if (!lost.contains(row.first().toLongLong())) {
            expected.append(row);
        }
    }

    SalvageReport report;
    QCOMPARE(salvageLifeList(source, target, ShippedData::load(), &report).number, 0);

    const QMap<QString, Rows> after = contents(target);
    QCOMPARE(after.value(lifelist::kBirdList), expected);
    for (const lifelist::Table& table : lifelist::tables().mid(1)) {
        QCOMPARE(after.value(table.name), before.value(table.name));
    }
    QCOMPARE(report.damagedTables, QStringList{lifelist::kBirdList});
    QCOMPARE(report.rowsSaved.value(lifelist::kBirdList), int(expected.size()));
    QVERIFY(addSighting(target) > highest);
}

void TestMaintenance::salvageKeepsReadableFieldsOfDamagedRow() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    QVERIFY(damage::makeLifeList(source, 30));
    // Sighting 10 is too long for its page; the rest of it is on overflow pages.
    QVERIFY(damage::execute(source, {QStringLiteral("UPDATE \"Bird List\" SET Comments = "
                                                    "printf('%.12000c', 'x') WHERE Number = 10")}));
    const Rows sightings = contents(source).value(lifelist::kBirdList);
    quint32 overflow = 0;
    for (int page : damage::leafPages(source, lifelist::kBirdList)) {
        for (const damage::Cell& cell : damage::cellsOnLeafPage(source, page)) {
            if (cell.rowid == 10) {
                overflow = cell.overflowPage;
            }
        }
    }
    QVERIFY(overflow > 1);
    QVERIFY(damage::overwritePage(source, int(overflow)));

    SalvageReport report;
    QCOMPARE(salvageLifeList(source, target, ShippedData::load(), &report).number, 0);

    Rows expected = sightings;
    for (QVariantList& row : expected) {
        if (row.first().toLongLong() == 10) {
            row[11] = QVariant();  // Comments went on past the lost page
        }
    }
    QCOMPARE(contents(target).value(lifelist::kBirdList), expected);
    QCOMPARE(report.damagedTables, QStringList{lifelist::kBirdList});
}

void TestMaintenance::salvageOfNonDatabaseGivesNewList_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("sqliteHeader");
    QTest::newRow("random bytes") << 30000 << false;
    QTest::newRow("empty file") << 0 << false;
    QTest::newRow("database header, then garbage") << 8192 << true;
}

void TestMaintenance::salvageOfNonDatabaseGivesNewList() {
    QFETCH(int, size);
    QFETCH(bool, sqliteHeader);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    const QString fresh = dir.filePath(QStringLiteral("fresh.mdb"));
    QVERIFY(damage::writeGarbage(source, size, sqliteHeader));
    QCOMPARE(createNewLifeList(fresh, ShippedData::load()).number, 0);

    SalvageReport report;
    QCOMPARE(salvageLifeList(source, target, ShippedData::load(), &report).number, 0);

    QCOMPARE(contents(target), contents(fresh));
    QCOMPARE(contents(target).value(QStringLiteral("Orders")).size(),
             ShippedData::load().orders.size());
    QVERIFY(report.starterRecordAdded);
    QCOMPARE(report.refilledTables.size(), 4);
    QCOMPARE(report.damagedTables.size(), 5);
    QCOMPARE(damage::queryValue(target, QStringLiteral("PRAGMA integrity_check")).toString(),
             QStringLiteral("ok"));
}

void TestMaintenance::salvageFillsMissingPieces() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    // Names in other letter cases, columns in another order, no Images column, an empty Orders
    // table and no Regions table.
    QVERIFY(damage::execute(
        source,
        {QStringLiteral("CREATE TABLE \"bird list\" (number INTEGER PRIMARY KEY AUTOINCREMENT, "
                        "commonname TEXT, \"ORDER\" TEXT, family TEXT, species TEXT, "
                        "location TEXT, country TEXT, region TEXT, month TEXT, year TEXT, "
                        "comments TEXT, additional TEXT, alternatename TEXT)"),
         QStringLiteral("INSERT INTO \"bird list\" VALUES (5, 'Kea', 'Psittaciformes', "
                        "'Strigopidae', 'Nestor notabilis', 'Arthur''s Pass', 'New Zealand', "
                        "'Oceania', '2', '1999', 'cheeky', NULL, 'Mountain Parrot')"),
         QStringLiteral("CREATE TABLE orders (\"order\" TEXT)"),
         QStringLiteral("CREATE TABLE Families (Family TEXT, \"Order\" TEXT)"),
         QStringLiteral("INSERT INTO Families VALUES ('Strigopidae', 'Psittaciformes')"),
         QStringLiteral("CREATE TABLE Countries (Country TEXT)"),
         QStringLiteral("INSERT INTO Countries VALUES ('New Zealand')")}));
    const QString fresh = dir.filePath(QStringLiteral("fresh.mdb"));
    QCOMPARE(createNewLifeList(fresh, ShippedData::load()).number, 0);

    SalvageReport report;
    QCOMPARE(salvageLifeList(source, target, ShippedData::load(), &report).number, 0);

    const QMap<QString, Rows> after = contents(target);
    const QVariantList kea{qint64(5),
                           QStringLiteral("Kea"),
                           QStringLiteral("Mountain Parrot"),
                           QStringLiteral("Psittaciformes"),
                           QStringLiteral("Strigopidae"),
                           QStringLiteral("Nestor notabilis"),
                           QStringLiteral("Arthur's Pass"),
                           QStringLiteral("New Zealand"),
                           QStringLiteral("Oceania"),
                           QStringLiteral("2"),
                           QStringLiteral("1999"),
                           QStringLiteral("cheeky"),
                           QVariant(),
                           QVariant()};
    QCOMPARE(after.value(lifelist::kBirdList), Rows{kea});
    QCOMPARE(after.value(QStringLiteral("Families")),
             (Rows{{QStringLiteral("Strigopidae"), QStringLiteral("Psittaciformes")}}));
    QCOMPARE(after.value(QStringLiteral("Countries")), Rows{{QStringLiteral("New Zealand")}});
    const QMap<QString, Rows> shipped = contents(fresh);
    QCOMPARE(after.value(QStringLiteral("Orders")), shipped.value(QStringLiteral("Orders")));
    QCOMPARE(after.value(QStringLiteral("Regions")), shipped.value(QStringLiteral("Regions")));
    QCOMPARE(report.refilledTables,
             (QStringList{QStringLiteral("Orders"), QStringLiteral("Regions")}));
    QCOMPARE(report.damagedTables, QStringList{QStringLiteral("Regions")});
    QVERIFY(!report.starterRecordAdded);
    QCOMPARE(addSighting(target), 6);
}

void TestMaintenance::salvageSurvivesDamagedTableEntry() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    QVERIFY(damage::makeLifeList(source, 20));
    const QMap<QString, Rows> before = contents(source);
    QVERIFY(damage::execute(source, {QStringLiteral("PRAGMA writable_schema = 1"),
                                     QStringLiteral("UPDATE sqlite_master SET sql = 'CREATE "
                                                    "TABLE Regions (' WHERE name = 'Regions'")}));
    QVERIFY(!damage::readRows(source, QStringLiteral("Orders")));  // the file no longer opens

    SalvageReport report;
    QCOMPARE(salvageLifeList(source, target, ShippedData::load(), &report).number, 0);

    QCOMPARE(contents(target), before);
    QCOMPARE(report.damagedTables, QStringList{QStringLiteral("Regions")});
    QCOMPARE(report.refilledTables, QStringList{QStringLiteral("Regions")});
}

void TestMaintenance::salvageFindsSightingsWithoutTableList() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    // Comments longer than a page continue on overflow pages.
    QVERIFY(damage::makeLifeList(source, 40, 9000));
    QVERIFY(
        damage::execute(source, {QStringLiteral("UPDATE \"Bird List\" SET Country = 'Côte "
                                                "d''Ivoire', Year = NULL WHERE Number = 7"),
                                 QStringLiteral("DELETE FROM \"Bird List\" WHERE Number = 9")}));
    const Rows sightings = contents(source).value(lifelist::kBirdList);
    QCOMPARE(sightings.size(), 40);
    // The first page, with the file header and the list of tables, is destroyed.
    QVERIFY(damage::overwritePage(source, 1));

    SalvageReport report;
    QVERIFY(!salvageLifeList(source, target, ShippedData::load(), &report));
    QVERIFY(report.pagesScanned);
    QCOMPARE(contents(target).value(lifelist::kBirdList), sightings);
    QCOMPARE(report.refilledTables.size(), 4);
    QVERIFY(addSighting(target) > 41);
}

void TestMaintenance::salvageNeverReusesNumbers_data() {
    QTest::addColumn<QString>("deletion");
    QTest::newRow("highest deleted") << QStringLiteral("Number = 21");
    QTest::newRow("every sighting deleted") << QStringLiteral("1 = 1");
}

void TestMaintenance::salvageNeverReusesNumbers() {
    QFETCH(QString, deletion);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.mdb"));
    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    QVERIFY(damage::makeLifeList(source, 20));
    QVERIFY(
        damage::execute(source, {QStringLiteral("DELETE FROM \"Bird List\" WHERE ") + deletion}));
    const QList<qint64> kept = numbersOf(contents(source).value(lifelist::kBirdList));

    QCOMPARE(salvageLifeList(source, target, ShippedData::load()).number, 0);
    QVERIFY(addSighting(target) > 21);

    // Only the Numbers kept are 21 or below; any new record (the starter one too) is above.
    for (qint64 number : numbersOf(contents(target).value(lifelist::kBirdList))) {
        QVERIFY2(kept.contains(number) || number > 21, qPrintable(QString::number(number)));
    }
}

void TestMaintenance::salvageRefuses_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << QStringLiteral("missing") << int(DbError::FileNotFound);
    QTest::newRow("folder") << QStringLiteral("folder") << int(fileops::PathFileAccessError);
    QTest::newRow("no permission") << QStringLiteral("locked") << int(fileops::PathFileAccessError);
    QTest::newRow("target exists") << QStringLiteral("target exists") << int(DbError::CannotOpen);
    // Waits out the engine's busy timeout: a list in use elsewhere is not a damaged one.
    QTest::newRow("in use by another program") << QStringLiteral("in use") << int(DbError::Locked);
}

void TestMaintenance::salvageRefuses() {
    QFETCH(QString, source);
    QFETCH(int, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("source.mdb"));
    const QString target = dir.filePath(QStringLiteral("target.mdb"));
    if (source == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("source.mdb")));
    } else if (source != QLatin1String("missing")) {
        QVERIFY(damage::makeLifeList(path, 5));
    }
    if (source == QLatin1String("locked")) {
        if (::geteuid() == 0) {
            QSKIP("Permissions do not keep the superuser from reading a file.");
        }
        QVERIFY(QFile::setPermissions(path, {}));
    }
    if (source == QLatin1String("target exists")) {
        QVERIFY(damage::writeFile(target, "mine"));
    }

    std::optional<damage::ExclusiveLock> lock;
    if (source == QLatin1String("in use")) {
        QVERIFY(lock.emplace(path).isHeld());
    }

    QCOMPARE(salvageLifeList(path, target, ShippedData::load()).number, error);

    if (source == QLatin1String("target exists")) {
        QCOMPARE(damage::fileBytes(target), QByteArray("mine"));
    } else {
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(!QFileInfo::exists(target + QStringLiteral("-journal")));
    }
}

// ---- Opening at start-up ---------------------------------------------------------------------

void TestMaintenance::startupWithoutList() {
    Env env;
    QVERIFY(!openBirdListDatabase(env.program));
    QCOMPARE(env.dialogs.calls().size(), 1);
    QCOMPARE(env.dialogs.calls()[0].prompt,
             QStringLiteral("Plovix can not locate the Bird List database.\n"
                            "Please check that the database is named correctly ('Bird List.mdb')\n"
                            "and is located in the same folder as Plovix ('Plovix')"));
    QCOMPARE(env.dialogs.calls()[0].style, 16);
    QCOMPARE(env.dialogs.calls()[0].title, QStringLiteral("Application Startup Error"));
    QVERIFY(env.files().isEmpty());
    QVERIFY(!env.program.gdbBirdList);
}

void TestMaintenance::startupRepairsUnusableList_data() {
    QTest::addColumn<bool>("garbage");
    QTest::newRow("not a database") << true;
    QTest::newRow("damaged page") << false;
}

void TestMaintenance::startupRepairsUnusableList() {
    QFETCH(bool, garbage);
    Env env;
    Rows expected;
    if (garbage) {
        QVERIFY(damage::writeGarbage(env.list(), 12000));
    } else {
        QVERIFY(damage::makeLifeList(env.list(), 60));
        const QList<int> leaves = damage::leafPages(env.list(), lifelist::kBirdList);
        QVERIFY(leaves.size() > 3);
        QSet<qint64> lost;
        for (const damage::Cell& cell : damage::cellsOnLeafPage(env.list(), leaves[3])) {
            lost.insert(cell.rowid);
        }
        QVERIFY(!lost.isEmpty());
        for (const QVariantList& row : contents(env.list()).value(lifelist::kBirdList)) {
            if (!lost.contains(row.first().toLongLong())) {
                expected.append(row);
            }
        }
        QVERIFY(damage::damagePageHeader(env.list(), leaves[3]));
    }
    const QByteArray bytes = damage::fileBytes(env.list());

    env.dialogs.answer(mb::OK);
    QVERIFY(openBirdListDatabase(env.program));

    QCOMPARE(env.dialogs.calls().size(), 2);
    const ScriptedDialogs::Call question = env.dialogs.calls()[0];
    QVERIFY2(question.prompt.startsWith(
                 QStringLiteral("There was an error in opening the Plovix database:\n")),
             qPrintable(question.prompt));
    QVERIFY(question.prompt.endsWith(
        QStringLiteral("\n\nWould you like to attempt to repair the database?")));
    QCOMPARE(question.style, 33);
    QCOMPARE(question.title, QString());
    QCOMPARE(env.dialogs.calls()[1].prompt,
             QStringLiteral("Plovix database repair procedure complete."));

    QCOMPARE(damage::fileBytes(env.backup(1)), bytes);
    QVERIFY(env.program.gdbBirdList && env.program.gdbBirdList->isOpen());
    for (const auto* recordset :
         {&env.program.grsBirdList, &env.program.grsOrders, &env.program.grsFamilies,
          &env.program.grsCountries, &env.program.grsRegions}) {
        QVERIFY(*recordset && (*recordset)->isOpen());
    }
    if (garbage) {
        QCOMPARE(env.program.grsBirdList->recordCount(), 1);
        QCOMPARE(env.program.grsBirdList->value(QStringLiteral("CommonName")).toString(),
                 lifelist::kStarterName);
    } else {
        QCOMPARE(env.program.grsBirdList->recordCount(), int(expected.size()));
        env.program.closeBirdList();
        QCOMPARE(contents(env.list()).value(lifelist::kBirdList), expected);
    }
}

void TestMaintenance::startupRepairCancelled() {
    Env env;
    QVERIFY(damage::writeGarbage(env.list(), 12000));
    const QByteArray bytes = damage::fileBytes(env.list());

    env.dialogs.answer(mb::Cancel);
    QVERIFY(!openBirdListDatabase(env.program));

    QCOMPARE(env.dialogs.calls().size(), 1);
    QCOMPARE(env.dialogs.calls()[0].style, 33);
    QCOMPARE(env.files(), QStringList{QStringLiteral("Bird List.mdb")});
    QCOMPARE(damage::fileBytes(env.list()), bytes);
    QVERIFY(!env.program.gdbBirdList);
}

QTEST_GUILESS_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
