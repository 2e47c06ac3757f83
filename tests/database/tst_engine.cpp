// The engine layer against real SQLite files: moving, finding, bookmarks, editing; its LIKE
// patterns, the CSV reader behind the shipped data, and the page scanner a salvage falls back on.
#include "database/CsvReader.h"
#include "database/Database.h"
#include "database/LikePattern.h"
#include "database/NewLifeList.h"
#include "database/PageScan.h"
#include "database/Recordset.h"
#include "database/ShippedData.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Damaged files for the page scanner, laid out byte by byte in pages of 512 bytes.
constexpr int kPage = 512;
constexpr int kBirdListColumns = 14;  // Number and the thirteen fields

QByteArray varint(quint64 value) {
    if (value >> 56) {  // nine bytes: the last one carries eight bits
        QByteArray bytes(1, char(value & 0xFF));
        value >>= 8;
        for (int i = 0; i < 8; ++i, value >>= 7)
            bytes.prepend(char(0x80 | (value & 0x7F)));
        return bytes;
    }
    QByteArray bytes(1, char(value & 0x7F));
    for (value >>= 7; value; value >>= 7)
        bytes.prepend(char(0x80 | (value & 0x7F)));
    return bytes;
}

QByteArray be(quint32 value, int width) {
    QByteArray bytes;
    for (int i = width - 1; i >= 0; --i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

// A Bird List record: Number as Null (its rowid), then a common name whose stored length is
// `nameType`'s, the other fields Null.
QByteArray birdRecord(const QByteArray& name, quint64 nameType) {
    QByteArray types = varint(0) + varint(nameType);
    for (int i = 2; i < kBirdListColumns; ++i)
        types += varint(0);
    return varint(quint64(types.size()) + 1) + types + name;
}

QByteArray cell(quint64 payloadSize, qint64 rowid, const QByteArray& local) {
    return varint(payloadSize) + varint(quint64(rowid)) + local;
}

// `pages` pages, the first with the file header.
QByteArray pagedFile(int pages) {
    QByteArray file(qsizetype(pages) * kPage, '\0');
    file.replace(0, 16, QByteArray("SQLite format 3", 16));
    file.replace(16, 2, be(kPage, 2));
    return file;
}

// Makes `page` a table leaf holding `cells`, each named `pointers` times by the page's pointers.
void putLeaf(QByteArray& file, int page, const QList<QByteArray>& cells, int pointers = 1) {
    const qsizetype start = qsizetype(page - 1) * kPage;
    const qsizetype header = start + (page == 1 ? 100 : 0);
    file[header] = 0x0D;
    file.replace(header + 3, 2, be(quint32(cells.size() * pointers), 2));
    qsizetype end = start + kPage;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        end -= cells[i].size();
        file.replace(end, cells[i].size(), cells[i]);
        for (int p = 0; p < pointers; ++p)
            file.replace(header + 8 + 2 * (i * pointers + p), 2, be(quint32(end - start), 2));
    }
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class TestEngine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    QString m_path;

    // A life list with the given common names and countries (the starter record is replaced).
    void makeList(const QStringList& names, const QStringList& countries = {}) {
        m_db.reset();
        m_path = m_dir.filePath(QString::number(QRandomGenerator::global()->generate()) + ".mdb");
        QVERIFY(!createNewLifeList(m_path, ShippedData{}));
        DbError error;
        m_db = Database::open(m_path, error);
        QVERIFY2(m_db, qPrintable(error.description));
        QVERIFY(!m_db->execute("DELETE FROM \"Bird List\""));
        for (qsizetype i = 0; i < names.size(); ++i)
            QVERIFY(!m_db->execute("INSERT INTO \"Bird List\" (CommonName, Country) VALUES (?, ?)",
                                   {names[i], countries.value(i, "")}));
    }

    std::shared_ptr<Recordset> birds() {
        DbError error;
        return m_db->openRecordset({"Bird List", {}, "Number"}, RecordsetType::Dynaset, error);
    }

    static QString name(const Recordset& rs) { return nullToEmpty(rs.value("CommonName")); }

    // The record a step leaves current, or the step's error.
    static QString nameAfter(const DbError& step, const Recordset& rs) {
        return step ? step.description : name(rs);
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void movesStopAtTheEnds() {
        // The moves themselves are the record form's navigation; here, what lies past the ends.
        makeList({"Robin", "Wren"});
        auto rs = birds();
        QVERIFY(!rs->movePrevious() && rs->bof() && rs->absolutePosition() == -1);
        QCOMPARE(rs->movePrevious().number, int(DbError::NoCurrentRecord));
        QVERIFY(!rs->moveLast() && !rs->moveNext() && rs->eof());
        QVERIFY(!rs->value("CommonName").isValid());
        QCOMPARE(rs->moveNext().number, int(DbError::NoCurrentRecord));
        makeList({});
        auto empty = birds();
        QVERIFY(empty->bof() && empty->eof());
        QCOMPARE(empty->moveFirst().number, int(DbError::NoCurrentRecord));
    }

    void findsFromTheCurrentRecord() {
        makeList({"Marsh Warbler", "Robin", "Reed Warbler", "Garden Warbler", "Wren"},
                 {"France", "France", "Spain", "France", "France"});
        auto rs = birds();
        const Criteria warbler = Criteria::like("CommonName", "*warbler*");
        const Criteria frenchWarbler = warbler && Criteria::equals("Country", "france");

        QVERIFY(!rs->setAbsolutePosition(2));  // Reed Warbler
        QCOMPARE(nameAfter(rs->findNext(warbler), *rs), "Garden Warbler");
        QCOMPARE(nameAfter(rs->findPrevious(warbler), *rs), "Reed Warbler");
        QCOMPARE(nameAfter(rs->findLast(frenchWarbler), *rs), "Garden Warbler");
        QCOMPARE(nameAfter(rs->findFirst(frenchWarbler), *rs), "Marsh Warbler");

        // No match: the flag is set and the current record stays.
        QCOMPARE(nameAfter(rs->findPrevious(warbler), *rs), "Marsh Warbler");
        QVERIFY(rs->noMatch());
        QVERIFY(!rs->moveLast());
        QCOMPARE(nameAfter(rs->findNext(warbler), *rs), "Wren");
        QVERIFY(rs->noMatch());
        QVERIFY(!rs->findFirst(Criteria::equals("CommonName", "Warbler")) && rs->noMatch());

        // From before the first record, FindNext starts at the first.
        QVERIFY(!rs->moveFirst() && !rs->movePrevious());
        QCOMPARE(nameAfter(rs->findNext(warbler), *rs), "Marsh Warbler");
        QVERIFY(!rs->noMatch());

        DbError error;
        auto table = m_db->openRecordset("Bird List", RecordsetType::Table, error);
        QVERIFY(table);
        QCOMPARE(table->findFirst(warbler).number, int(DbError::NotSupported));
    }

    void criteriaIgnoreCaseForEveryLetterAndKeepQuotes() {
        makeList({"Bewick's Wren", "ÉTOURNEAU", "Bewick_s Wren", "Wren"},
                 {"Côte d'Ivoire", "ÉIRE", "Chile", "Österreich"});
        auto rs = birds();
        // The record found first; "" when none is.
        const std::pair<Criteria, const char*> cases[] = {
            {Criteria::equals("CommonName", "bewick's wren"), "Bewick's Wren"},
            {Criteria::equals("Country", "CÔTE D'IVOIRE"), "Bewick's Wren"},
            {Criteria::equals("CommonName", "étourneau"), "ÉTOURNEAU"},
            {Criteria::like("Country", "*ö*"), "Wren"},
            {Criteria::like("Country", "éi?e"), "ÉTOURNEAU"},
            // A quote typed as "?" still matches; "?" is exactly one character.
            {Criteria::like("CommonName", "Bewick?s*"), "Bewick's Wren"},
            {Criteria::like("CommonName", "?ren"), "Wren"},
            {Criteria::like("CommonName", "??ren"), ""},
            // SQL's own wildcards mean nothing here.
            {Criteria::like("CommonName", "%Wren"), ""},
            {Criteria::like("CommonName", "Bewick_s Wren"), "Bewick_s Wren"},
            // A text that looks like SQL is only a text.
            {Criteria::equals("CommonName", "x' OR '1'='1"), ""},
        };
        for (const auto& [criteria, expected] : cases)
            QVERIFY2(!rs->findFirst(criteria) && (rs->noMatch() ? "" : name(*rs)) == expected,
                     qPrintable(criteria.text()));
    }

    void deletingInTheMiddleMovesOnAndVoidsItsBookmark() {
        makeList({"A", "B", "C"});
        auto rs = birds();
        QVERIFY(!rs->setAbsolutePosition(1));
        const QVariant mark = rs->bookmark();
        QVERIFY(!rs->moveLast());
        QCOMPARE(nameAfter(rs->setBookmark(mark), *rs), "B");
        QVERIFY(!rs->deleteRecord());
        QVERIFY(!rs->value("CommonName").isValid());
        QCOMPARE(rs->absolutePosition(), -1);
        QVERIFY(!rs->eof() && !rs->bof());
        QCOMPARE(nameAfter(rs->moveNext(), *rs), "C");
        QCOMPARE(rs->recordCount(), 2);
        QCOMPARE(rs->setBookmark(mark).number, int(DbError::InvalidBookmark));
        QCOMPARE(rs->setBookmark(QVariant()).number, int(DbError::InvalidBookmark));
    }

    void addNewAndCancelUpdate() {
        makeList({"A", "B"});
        auto rs = birds();
        QVERIFY(!rs->addNew() && !rs->value("CommonName").isValid());
        QCOMPARE(nameAfter(rs->setValue("CommonName", "Typed"), *rs), "Typed");
        QCOMPARE(nameAfter(rs->cancelUpdate(), *rs), "A");
        QCOMPARE(rs->setValue("CommonName", "x").number, int(DbError::UpdateWithoutEdit));

        // Stored: the new record joins the end, the record before AddNew stays current.
        QVERIFY(!rs->addNew() && !rs->setValue("CommonName", "C"));
        QCOMPARE(nameAfter(rs->update(), *rs), "A");
        QCOMPARE(rs->recordCount(), 3);
        QCOMPARE(nameAfter(rs->moveLast(), *rs), "C");
        QCOMPARE(rs->bookmark(), rs->lastModified());

        // A move drops a pending change.
        QVERIFY(!rs->edit() && !rs->setValue("CommonName", "Dropped"));
        QVERIFY(!rs->moveFirst());
        QCOMPARE(nameAfter(rs->moveLast(), *rs), "C");
        QVERIFY(!rs->edit() && !rs->setValue("Country", QVariant()));
        QVERIFY(!rs->setValue("CommonName", "C2") && !rs->update());
        auto again = birds();
        QCOMPARE(nameAfter(again->moveLast(), *again), "C2");
        QVERIFY(!again->value("Country").isValid());
    }

    void failedUpdateKeepsThePendingChange() {
        makeList({"A"});
        auto rs = birds();
        // The connection refuses every write, as a read-only file does.
        QVERIFY(!m_db->execute("PRAGMA query_only = 1"));
        QVERIFY(!rs->edit() && !rs->setValue("CommonName", "Changed"));
        QCOMPARE(rs->update().number, int(DbError::ReadOnly));
        QCOMPARE(rs->editMode(), Recordset::EditMode::Edit);
        QCOMPARE(name(*rs), "Changed");
        // The connection is opened anew before the next change, which is then stored.
        QVERIFY(!rs->update());
        QCOMPARE(name(*birds()), "Changed");
        QVERIFY(!m_db->execute("PRAGMA query_only = 1"));
        QVERIFY(!rs->addNew() && !rs->setValue("CommonName", "New"));
        QVERIFY(rs->update());
        QCOMPARE(rs->editMode(), Recordset::EditMode::Add);
        QVERIFY(!rs->update());
        QCOMPARE(rs->recordCount(), 2);
    }

    // The criteria above take "?", "*", letters in either case and "%" through the patterns;
    // here, the rest of what a pattern can say.
    void patterns() {
        const struct {
            const char *name, *pattern, *text;
            bool matches;
        } cases[] = {
            {"run at both ends", "*a*b*", "xxaxxbxx", true},
            {"backtracking", "*ab", "aab", true},
            {"backtracking fails", "*ab*c", "abab", false},
            {"empty pattern", "", "", true},
            {"empty pattern, text", "", "a", false},
            {"star matches empty", "*", "", true},
            {"digit", "19##", "1987", true},
            {"digit refuses letter", "19##", "19x7", false},
            {"list", "[bw]ren", "Wren", true},
            {"range", "[a-c]*", "Bunting", true},
            {"negated list", "[!w]ren", "Wren", false},
            {"literal star in list", "a[*]b", "a*b", true},
            {"unclosed bracket is literal", "[ab", "[ab", true},
            {"greek case", "σ*", "Σίσυφος", true},
            {"astral character is one", "?x", "\xF0\x9F\x90\xA6x", true},
        };
        for (const auto& c : cases)
            QVERIFY2(LikePattern(c.pattern).matches(c.text) == c.matches, c.name);
    }

    void csvFields() {
        const auto rows = parseCsv(QStringLiteral(
            "family,order,english\r\nLaridae,Charadriiformes,\"Gulls, Terns, and Skimmers\"\r\n"
            "\"Say \"\"hi\"\"\",x,\n\nNamibia,NA,Africa"));
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[1],
                 (QStringList{"Laridae", "Charadriiformes", "Gulls, Terns, and Skimmers"}));
        QCOMPARE(rows[2], (QStringList{"Say \"hi\"", "x", ""}));
        QCOMPARE(rows[3][1], QStringLiteral("NA"));
    }

    // What a damaged or hostile page holds in place of records is passed over: a text whose
    // stated length, near 2^63, runs past its record and past any sum, and cells that all lead
    // to one long chain of overflow pages, which once took the scan longer by the square of the
    // file's size (a file of 1 MB, minutes; of 10 MB, hours). The record beside them is still
    // found.
    void pageScanPassesOverWhatCannotBeARecord() {
        const QString path = m_dir.filePath(QStringLiteral("pages.mdb"));
        const QByteArray wren = birdRecord("Wren", 13 + 2 * 4);
        const QByteArray robin = birdRecord("Robin", ~quint64(0));
        QByteArray file = pagedFile(1);
        putLeaf(file, 1,
                {cell(quint64(wren.size()), 1, wren), cell(quint64(robin.size()), 2, robin)});
        QVERIFY(writeBytes(path, file));
        QList<ScannedRecord> records = scanRecords(path, kBirdListColumns);
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].rowid, qint64(1));
        QCOMPARE(records[0].values.size(), kBirdListColumns - 1);
        QCOMPARE(records[0].values[0], QVariant(QStringLiteral("Wren")));
        QVERIFY(!records[0].values[1].isValid());

        // Half the pages name one cell from all their pointers. Its payload of some 512 MB
        // leaves the least a page keeps on the page and goes on over the other half, whose
        // chain loops.
        const int pages = 2048;
        const qint64 least = (kPage - 12) * 32 / 255 - 23;
        const quint64 size = quint64(least) + quint64(kPage - 4) * (1 << 20) + 450;
        file = pagedFile(pages);
        putLeaf(file, 1, {cell(quint64(wren.size()), 1, wren)});
        for (int page = 2; page <= pages / 2; ++page)
            putLeaf(file, page, {cell(size, page, QByteArray(least, 'x') + be(pages / 2 + 1, 4))},
                    200);
        for (int page = pages / 2 + 1; page <= pages; ++page)
            file.replace(qsizetype(page - 1) * kPage, 4,
                         be(page < pages ? page + 1 : pages / 2 + 1, 4));
        QVERIFY(writeBytes(path, file));
        QElapsedTimer timer;
        timer.start();
        records = scanRecords(path, kBirdListColumns);
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].values[0], QVariant(QStringLiteral("Wren")));
    }

    void shippedDataIsComplete() {
        const ShippedData data = ShippedData::load();
        QCOMPARE(data.orders.size(), 46);
        QCOMPARE(data.families.size(), 252);
        QCOMPARE(data.countries.size(), 249);
        QCOMPARE(data.regions.size(), 7);
        QVERIFY(data.countries.contains(QStringLiteral("Namibia")));
        for (const auto& family : data.families)
            QVERIFY2(data.orders.contains(family.order), qPrintable(family.family));
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
