// The engine layer against real SQLite files: moving, finding, bookmarks, editing.
#include "database/Database.h"
#include "database/NewLifeList.h"
#include "database/Recordset.h"
#include "database/ShippedData.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestEngine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    QString m_path;

    // A life list with the given common names (the starter record is replaced).
    void makeList(const QList<std::pair<QString, QString>>& sightings) {
        m_db.reset();
        m_path = m_dir.filePath(
            QStringLiteral("list-%1.mdb").arg(QRandomGenerator::global()->generate()));
        QVERIFY(!createNewLifeList(m_path, ShippedData{}));
        DbError error;
        m_db = Database::open(m_path, error);
        QVERIFY2(m_db, qPrintable(error.description));
        QVERIFY(!m_db->execute(QStringLiteral("DELETE FROM \"Bird List\"")));
        for (const auto& [name, country] : sightings) {
            QVERIFY(!m_db->execute(
                QStringLiteral("INSERT INTO \"Bird List\" (CommonName, Country) VALUES (?, ?)"),
                {name, country}));
        }
    }

    std::shared_ptr<Recordset> birds() {
        DbError error;
        auto rs = m_db->openRecordset(
            RecordSource{QStringLiteral("Bird List"), {}, QStringLiteral("Number")},
            RecordsetType::Dynaset, error);
        if (error) {
            qWarning() << error.description;
        }
        return rs;
    }

    static QString name(const Recordset& rs) {
        return nullToEmpty(rs.value(QStringLiteral("CommonName")));
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void movesAndEnds() {
        makeList({{"Robin", ""}, {"Wren", ""}, {"Jay", ""}});
        auto rs = birds();
        QVERIFY(rs);
        QCOMPARE(rs->recordCount(), 3);
        QCOMPARE(name(*rs), QStringLiteral("Robin"));
        QVERIFY(!rs->bof() && !rs->eof());
        QVERIFY(!rs->movePrevious());
        QVERIFY(rs->bof());
        QCOMPARE(rs->absolutePosition(), -1);
        QCOMPARE(rs->movePrevious().number, int(DbError::NoCurrentRecord));
        QVERIFY(!rs->moveLast());
        QCOMPARE(name(*rs), QStringLiteral("Jay"));
        QCOMPARE(rs->absolutePosition(), 2);
        QCOMPARE(rs->percentPosition(), 100.0);
        QVERIFY(!rs->moveNext());
        QVERIFY(rs->eof());
        QVERIFY(!rs->value(QStringLiteral("CommonName")).isValid());
        QCOMPARE(rs->moveNext().number, int(DbError::NoCurrentRecord));
        QVERIFY(!rs->setAbsolutePosition(1));
        QCOMPARE(name(*rs), QStringLiteral("Wren"));
        QVERIFY(!rs->move(-1));
        QCOMPARE(name(*rs), QStringLiteral("Robin"));

        makeList({});
        auto empty = birds();
        QVERIFY(empty->bof() && empty->eof());
        QCOMPARE(empty->moveFirst().number, int(DbError::NoCurrentRecord));
    }

    void findsFromTheCurrentRecord() {
        makeList({{"Marsh Warbler", "France"},
                  {"Robin", "France"},
                  {"Reed Warbler", "Spain"},
                  {"Garden Warbler", "France"},
                  {"Wren", "France"}});
        auto rs = birds();
        const Criteria warbler =
            Criteria::like(QStringLiteral("CommonName"), QStringLiteral("*warbler*"));
        const Criteria frenchWarbler =
            warbler && Criteria::equals(QStringLiteral("Country"), QStringLiteral("france"));

        QVERIFY(!rs->setAbsolutePosition(2));  // Reed Warbler
        QVERIFY(!rs->findNext(warbler));
        QVERIFY(!rs->noMatch());
        QCOMPARE(name(*rs), QStringLiteral("Garden Warbler"));
        QVERIFY(!rs->findPrevious(warbler));
        QCOMPARE(name(*rs), QStringLiteral("Reed Warbler"));
        QVERIFY(!rs->findLast(frenchWarbler));
        QCOMPARE(name(*rs), QStringLiteral("Garden Warbler"));
        QVERIFY(!rs->findFirst(frenchWarbler));
        QCOMPARE(name(*rs), QStringLiteral("Marsh Warbler"));

        // No match: the flag is set and the current record stays.
        QVERIFY(!rs->findPrevious(warbler));
        QVERIFY(rs->noMatch());
        QCOMPARE(name(*rs), QStringLiteral("Marsh Warbler"));
        QVERIFY(!rs->moveLast());
        QVERIFY(!rs->findNext(warbler));
        QVERIFY(rs->noMatch());
        QCOMPARE(name(*rs), QStringLiteral("Wren"));
        QVERIFY(!rs->findFirst(
            Criteria::equals(QStringLiteral("CommonName"), QStringLiteral("Warbler"))));
        QVERIFY(rs->noMatch());

        // From before the first record, FindNext starts at the first.
        QVERIFY(!rs->moveFirst());
        QVERIFY(!rs->movePrevious());
        QVERIFY(!rs->findNext(warbler));
        QCOMPARE(name(*rs), QStringLiteral("Marsh Warbler"));

        DbError error;
        auto table = m_db->openRecordset(QStringLiteral("Bird List"), RecordsetType::Table, error);
        QVERIFY(table);
        QCOMPARE(table->findFirst(warbler).number, int(DbError::NotSupported));
    }

    void criteriaIgnoreCaseForEveryLetterAndKeepQuotes() {
        makeList({{"Bewick's Wren", "Côte d'Ivoire"},
                  {"ÉTOURNEAU", "ÉIRE"},
                  {"Bewick_s Wren", "Chile"},
                  {"Wren", "Österreich"}});
        auto rs = birds();
        auto find = [&](const Criteria& c) {
            if (rs->findFirst(c) || rs->noMatch()) {
                return QString();
            }
            return name(*rs);
        };
        QCOMPARE(find(Criteria::equals("CommonName", QStringLiteral("bewick's wren"))),
                 QStringLiteral("Bewick's Wren"));
        QCOMPARE(find(Criteria::equals("Country", QStringLiteral("CÔTE D'IVOIRE"))),
                 QStringLiteral("Bewick's Wren"));
        QCOMPARE(find(Criteria::equals("CommonName", QStringLiteral("étourneau"))),
                 QStringLiteral("ÉTOURNEAU"));
        QCOMPARE(find(Criteria::like("Country", QStringLiteral("*ö*"))), QStringLiteral("Wren"));
        QCOMPARE(find(Criteria::like("Country", QStringLiteral("éi?e"))),
                 QStringLiteral("ÉTOURNEAU"));
        // A quote typed as "?" still matches; "?" is exactly one character.
        QCOMPARE(find(Criteria::like("CommonName", QStringLiteral("Bewick?s*"))),
                 QStringLiteral("Bewick's Wren"));
        QCOMPARE(find(Criteria::like("CommonName", QStringLiteral("?ren"))),
                 QStringLiteral("Wren"));
        QCOMPARE(find(Criteria::like("CommonName", QStringLiteral("??ren"))), QString());
        // SQL's own wildcards mean nothing here.
        QCOMPARE(find(Criteria::like("CommonName", QStringLiteral("%Wren"))), QString());
        QCOMPARE(find(Criteria::like("CommonName", QStringLiteral("Bewick_s Wren"))),
                 QStringLiteral("Bewick_s Wren"));
        // A text that looks like SQL is only a text.
        QCOMPARE(find(Criteria::equals("CommonName", QStringLiteral("x' OR '1'='1"))), QString());
        QCOMPARE(rs->recordCount(), 4);
    }

    void bookmarksReturnToTheirRecord() {
        makeList({{"A", ""}, {"B", ""}, {"C", ""}});
        auto rs = birds();
        QVERIFY(!rs->setAbsolutePosition(1));
        const QVariant mark = rs->bookmark();
        QVERIFY(!rs->moveLast());
        QVERIFY(!rs->setBookmark(mark));
        QCOMPARE(name(*rs), QStringLiteral("B"));
        QVERIFY(!rs->deleteRecord());
        QCOMPARE(rs->setBookmark(mark).number, int(DbError::InvalidBookmark));
        QCOMPARE(rs->setBookmark(QVariant()).number, int(DbError::InvalidBookmark));
    }

    void addNewAndCancelUpdate() {
        makeList({{"A", ""}, {"B", ""}});
        auto rs = birds();
        QVERIFY(!rs->moveFirst());
        QVERIFY(!rs->addNew());
        QVERIFY(!rs->value("CommonName").isValid());
        QVERIFY(!rs->setValue("CommonName", QStringLiteral("Typed")));
        QCOMPARE(name(*rs), QStringLiteral("Typed"));
        QVERIFY(!rs->cancelUpdate());
        QCOMPARE(name(*rs), QStringLiteral("A"));
        QCOMPARE(rs->recordCount(), 2);
        QCOMPARE(rs->setValue("CommonName", QStringLiteral("x")).number,
                 int(DbError::UpdateWithoutEdit));

        // Stored: the new record joins the end, the record before AddNew stays current.
        QVERIFY(!rs->addNew());
        QVERIFY(!rs->setValue("CommonName", QStringLiteral("C")));
        QVERIFY(!rs->update());
        QCOMPARE(name(*rs), QStringLiteral("A"));
        QCOMPARE(rs->recordCount(), 3);
        QVERIFY(!rs->moveLast());
        QCOMPARE(name(*rs), QStringLiteral("C"));
        QCOMPARE(rs->bookmark(), rs->lastModified());

        // A move drops a pending change.
        QVERIFY(!rs->edit());
        QVERIFY(!rs->setValue("CommonName", QStringLiteral("Dropped")));
        QVERIFY(!rs->moveFirst());
        QVERIFY(!rs->moveLast());
        QCOMPARE(name(*rs), QStringLiteral("C"));
        QVERIFY(!rs->edit());
        QVERIFY(!rs->setValue("Country", QVariant()));
        QVERIFY(!rs->setValue("CommonName", QStringLiteral("C2")));
        QVERIFY(!rs->update());
        auto again = birds();
        QVERIFY(!again->moveLast());
        QCOMPARE(name(*again), QStringLiteral("C2"));
        QVERIFY(!again->value("Country").isValid());
    }

    void numbersAreNeverReused() {
        makeList({{"A", ""}, {"B", ""}, {"C", ""}});
        auto rs = birds();
        QVERIFY(!rs->moveLast());
        const qint64 highest = rs->value("Number").toLongLong();
        QVERIFY(!rs->deleteRecord());
        QVERIFY(!rs->moveNext());
        QVERIFY(rs->eof());
        QVERIFY(!rs->moveLast());
        QCOMPARE(name(*rs), QStringLiteral("B"));
        // Also across closing and reopening the file.
        m_db->close();
        QCOMPARE(rs->moveFirst().number, int(DbError::ObjectClosed));
        DbError error;
        m_db = Database::open(m_path, error);
        rs = birds();
        QVERIFY(!rs->addNew());
        QVERIFY(!rs->setValue("CommonName", QStringLiteral("D")));
        QVERIFY(!rs->update());
        QVERIFY(!rs->moveLast());
        QVERIFY(rs->value("Number").toLongLong() > highest);
    }

    void deletingInTheMiddleMovesOnToTheNext() {
        makeList({{"A", ""}, {"B", ""}, {"C", ""}});
        auto rs = birds();
        QVERIFY(!rs->setAbsolutePosition(1));
        QVERIFY(!rs->deleteRecord());
        QCOMPARE(rs->value("CommonName").isValid(), false);
        QCOMPARE(rs->absolutePosition(), -1);
        QVERIFY(!rs->eof() && !rs->bof());
        QVERIFY(!rs->moveNext());
        QCOMPARE(name(*rs), QStringLiteral("C"));
        QCOMPARE(rs->recordCount(), 2);
    }

    void failedUpdateKeepsThePendingChange() {
        makeList({{"A", ""}});
        auto rs = birds();
        // The connection refuses every write, as a read-only file does.
        QVERIFY(!m_db->execute(QStringLiteral("PRAGMA query_only = 1")));
        QVERIFY(!rs->edit());
        QVERIFY(!rs->setValue("CommonName", QStringLiteral("Changed")));
        QCOMPARE(rs->update().number, int(DbError::ReadOnly));
        QCOMPARE(rs->editMode(), Recordset::EditMode::Edit);
        QCOMPARE(name(*rs), QStringLiteral("Changed"));
        QVERIFY(!rs->addNew());
        QVERIFY(!rs->setValue("CommonName", QStringLiteral("New")));
        QVERIFY(rs->update());
        QCOMPARE(rs->editMode(), Recordset::EditMode::Add);
        QCOMPARE(rs->recordCount(), 1);
        QVERIFY(!m_db->execute(QStringLiteral("PRAGMA query_only = 0")));
        QVERIFY(!rs->update());
        QCOMPARE(rs->recordCount(), 2);
    }

    void filteredDynaset() {
        makeList({});
        QVERIFY(!m_db->execute(
            QStringLiteral("INSERT INTO Families (Family, \"Order\") VALUES "
                           "('Turdidae', 'Passeriformes'), ('Anatidae', 'Anseriformes'), "
                           "('Sylviidae', 'PASSERIFORMES')")));
        DbError error;
        auto rs = m_db->openRecordset(
            RecordSource{QStringLiteral("Families"),
                         Criteria::equals(QStringLiteral("Order"), QStringLiteral("passeriformes")),
                         {}},
            RecordsetType::Dynaset, error);
        QVERIFY(rs);
        QCOMPARE(rs->recordCount(), 2);
        QVERIFY(
            !rs->findFirst(Criteria::equals(QStringLiteral("Family"), QStringLiteral("Anatidae"))));
        QVERIFY(rs->noMatch());
    }

    void openingRefusesWhatIsNoDatabase() {
        DbError error;
        QVERIFY(!Database::open(m_dir.filePath(QStringLiteral("absent.mdb")), error));
        QCOMPARE(error.number, int(DbError::FileNotFound));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("absent.mdb"))));

        const QString garbage = m_dir.filePath(QStringLiteral("garbage.mdb"));
        QFile file(garbage);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
        file.close();
        QVERIFY(!Database::open(garbage, error));
        QVERIFY(error && error.number != int(DbError::FileNotFound));
        QCOMPARE(QFileInfo(garbage).size(), qint64(8192));
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
