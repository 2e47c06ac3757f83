// Repairing a damaged life list: every readable row salvaged into a new file.
#include "database/MaintenanceCases.h"
#include "database/FileOps.h"
#include "database/NewLifeList.h"
#include "database/ShippedData.h"

#include <QDir>

using namespace maintenance;

namespace {

// A damaged life list "source.mdb" to be salvaged into "target.mdb".
struct Salvage {
    QTemporaryDir dir;
    QString source = dir.filePath(u"source.mdb"_s);
    QString target = dir.filePath(u"target.mdb"_s);
    SalvageReport report;
    bool run() { return !salvageLifeList(source, target, ShippedData::load(), &report); }
};

}  // namespace

class TestSalvage : public QObject {
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(TestSalvage)
#include "tst_salvage.moc"
