// The files an import reads: CSV files and the CSV file in a zip archive, a piece at a time, and
// eBird's downloads in their older forms.
#include "ExchangeFiles.h"

#include "database/CsvStream.h"
#include "exchange/EBirdImport.h"
#include "exchange/ImportFile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ZipItem)

namespace {

// A byte-order mark, a quoted field with a comma, doubled quotes and a CR LF in it, characters
// of two, three and four bytes, CR LF line ends and a last row without one.
const QByteArray kText =
    "\xEF\xBB\xBFName,Note\r\n"
    "Rüppell’s Warbler,\"Seen at \"\"the gate\"\", twice\r\nthen gone\"\r\n"
    "\xF0\x9F\xA6\x86 Duck,€5 café\r\n"
    "\"\",last";
const QList<QStringList> kRows = {
    {u"Name"_s, u"Note"_s},
    {u"Rüppell’s Warbler"_s, u"Seen at \"the gate\", twice\r\nthen gone"_s},
    {u"🦆 Duck"_s, u"€5 café"_s},
    {u""_s, u"last"_s}};

// The rows of the file, read in pieces of `pieceSize` bytes, and the shares read as reported.
QList<QStringList> rowsOf(const QString& path, qint64 pieceSize, QString& error,
                          QList<int>& shares) {
    QList<QStringList> rows;
    CsvStream stream([&rows](const QStringList& row) {
        rows.append(row);
        return true;
    });
    if (ImportFile(path, pieceSize).readInto(stream, error, [&](int share) {
            shares << share;
            return true;
        })) {
        stream.finish();
    }
    return rows;
}

}  // namespace

class TestExchangeFiles : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_folder.isValid()); }

    void piecesFallAnywhere_data() {
        QTest::addColumn<qint64>("pieceSize");
        QTest::addColumn<int>("packing");  // -1 a plain file, 0 stored in a zip, 8 deflated
        for (const qint64 size : {1, 2, 3, 5, 7, 64, 1 << 20}) {
            for (const int packing : {-1, 0, 8}) {
                QTest::addRow("%lld bytes, packing %d", size, packing) << size << packing;
            }
        }
    }
    // The zip archive holds another file first and ends in a comment.
    void piecesFallAnywhere() {
        QFETCH(qint64, pieceSize);
        QFETCH(int, packing);
        const QString path = m_folder.filePath(u"MyEBirdData.zip"_s);
        writeFile(path, packing < 0 ? kText
                                    : zipOf({{u"readme.txt"_s, "Read me", false},
                                             {u"ebird/MyEBirdData.csv"_s, kText, packing == 8}},
                                            "written by a test"));
        QString error;
        QList<int> shares;
        QCOMPARE(rowsOf(path, pieceSize, error, shares), kRows);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(shares.last(), 100);
        QVERIFY(std::is_sorted(shares.begin(), shares.end()));
    }

    void filesAreRefused_data() {
        QTest::addColumn<ZipItem>("item");  // without a name: a plain file over the limit
        QTest::addColumn<QString>("message");
        // Rows that read back to their bytes, one line each.
        const QByteArray csv = "Name,Note\n" + QByteArray("Snow Goose,seen\n").repeated(200);
        const QString larger =
            u"The zip file is damaged or not what it claims: its entry MyEBirdData.csv unpacks "
            "to more than the %1 bytes it declares."_s.arg(csv.size() - 100);
        const QString name = u"MyEBirdData.csv"_s;
        QTest::newRow("deflated, larger") << ZipItem{name, csv, true, csv.size() - 100} << larger;
        QTest::newRow("stored, larger") << ZipItem{name, csv, false, csv.size() - 100} << larger;
        QTest::newRow("checksum") << ZipItem{name, csv, true, -1, true}
                                  << u"The entry MyEBirdData.csv of the zip file is damaged."_s;
        QTest::newRow("zip over the limit")
            << ZipItem{name, csv, true, ImportFile::kLargestText + 1}
            << u"The CSV file in it, MyEBirdData.csv, holds 1025 MB of text, more than the "
               "1024 MB Plovix can import at once."_s;
        QTest::newRow("plain over the limit")
            << ZipItem{}
            << u"It holds 1025 MB of text, more than the 1024 MB Plovix can import "
               "at once."_s;
    }
    // Refused with a message, never more of an entry handed over than it declares, and a file
    // too large not read at all.
    void filesAreRefused() {
        QFETCH(ZipItem, item);
        QFETCH(QString, message);
        const QString path = m_folder.filePath(u"MyEBirdData.zip"_s);
        writeFile(path, item.name.isEmpty() ? QByteArray() : zipOf({item}));
        if (item.name.isEmpty()) {
            QVERIFY(QFile::resize(path, ImportFile::kLargestText + 1));  // sparse: no disk used
        }
        QString error;
        QList<int> shares;
        qsizetype read = 0;
        for (const QStringList& row : rowsOf(path, 16, error, shares)) {
            read += row.join(u',').toUtf8().size() + 1;
        }
        QCOMPARE(error, message);
        QVERIFY(read <= (item.declaredSize < 0 ? item.data.size() : item.declaredSize));
    }

    void olderDownloadsComeIn_data() {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QStringList>("records");
        const QString older =
            u"Submission ID,Common Name,Scientific Name,Taxonomic Order,Count,State/Province,"
            "County,Location,Latitude,Longitude,Date,Time,Protocol,Duration (Min),"
            "All Obs Reported,Distance Traveled (km),Area Covered (ha),Number of Observers,"
            "Breeding Code,Species Comments,Checklist Comments\r\n"
            "S1,American Robin,Turdus migratorius,1,1,US-NY,Kings,Prospect Park,0,0,%1,7:30 AM,"
            "Traveling,60,1,1,,1,,Singing,\r\n"
            "S2,American Robin,Turdus migratorius,1,1,US-NY,Kings,Central Park,0,0,%2,,"
            "Traveling,60,1,1,,1,,First of the year,\r\n"
            "S3,Pacific Wren,Troglodytes pacificus,1,1,US-CA,Marin,Muir Woods,0,0,%3,,"
            "Traveling,60,1,1,,1,,,\r\n"_s;
        const QString wren =
            u"Pacific Wren||||Troglodytes pacificus|Muir Woods|United States|North America|"
            "December|2013|||"_s;
        const QString robin =
            u"American Robin||||Turdus migratorius|Central Park|United States|North America|"
            "March|2014|"_s;
        const QStringList records{wren,
                                  robin + u"First of the year|2015-05-12, Prospect Park, US-NY|"_s};
        QTest::newRow("before March 2019")
            << older.arg(u"05-12-2015"_s, u"03-02-2014"_s, u"12-31-2013"_s) << records;
        QTest::newRow("before October 2019")
            << older.arg(u"2015-05-12"_s, u"2014-03-02"_s, u"2013-12-31"_s) << records;
        QTest::newRow("life list")
            << u"Row #,Taxon Order,Category,Common Name,Scientific Name,Count,Location,S/P,Date,"
               "LocID,SubID,Exotic,Countable\r\n"
               "1,100,species,Pacific Wren,Troglodytes pacificus,1,Muir Woods,US-CA,31 Dec 2013,"
               "L2,S2,,1\r\n"
               "2,200,species,American Robin,Turdus migratorius,2,Central Park,US-NY,02 Mar 2014,"
               "L1,S1,,1\r\n"_s
            << QStringList{wren, robin + u"||"_s};
    }
    // eBird's data downloads before its format changed in 2019, and its life list download;
    // months are named in English whatever the desktop's language.
    void olderDownloadsComeIn() {
        QFETCH(QString, csv);
        QFETCH(QStringList, records);
        const QLocale desktop;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QString error;
        const std::optional<EBirdSightings> file = readEBirdFile(csvText(csv), error);
        QLocale::setDefault(desktop);
        QVERIFY2(file, qPrintable(error));
        const ImportPlan plan =
            planEBirdImport(*file, nullptr, ShippedData::load().countryCodes, {});
        QStringList read;
        for (const QStringList& record : plan.records) {
            read.append(record.join(u'|'));
        }
        QCOMPARE(read, records);
        QCOMPARE(plan.notCounted + plan.undated, 0);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(TestExchangeFiles)
#include "tst_exchange_files.moc"
