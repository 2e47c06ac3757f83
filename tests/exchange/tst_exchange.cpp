// Sightings brought in from an eBird download or a spreadsheet, and the life list saved as one.
#include "ExchangeFiles.h"
#include "FolderWatch.h"
#include "FormFixture.h"

#include "checklist/Checklist.h"
#include "database/Database.h"
#include "exchange/EBirdImport.h"
#include "exchange/Spreadsheet.h"
#include "exchange/TaxonName.h"

#include <QProgressBar>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// A small world checklist in the program folder: two species under an order and family that
// the lookup tables do not have yet.
void writeChecklist(const FormFixture& f) {
    QDir().mkpath(f.file(u"data"_s));
    writeFile(f.file(u"data/species.csv"_s),
              "common_name,scientific_name,order,family_scientific,family_english\n"
              "American Robin,Turdus migratorius,Newiformes,Newidae,New birds\n"
              "Yellow-rumped Warbler,Setophaga coronata,Newiformes,Newidae,New birds\n"
              "Common Moorhen,Gallinula chloropus,Gruiformes,Rallidae,Rails\n");
}

// An eBird download: the earliest robin is the last row, two sightings on one day come apart
// by their time, a warbler form of 1965, a species the checklist knows by its English name
// only, one it lacks, and a row of each kind that is not a species.
QByteArray eBirdData() {
    const QString text =
        kHeading +
        row(u"American Robin"_s, u"Turdus migratorius"_s, u"US-NY"_s, u"Central Park"_s,
            u"2019-05-04"_s, u"07:30 AM"_s, u"Singing"_s) +
        row(u"American Robin"_s, u"Turdus migratorius"_s, u"US-NY"_s,
            u"\"Prospect Park, Brooklyn\""_s, u"2017-03-02"_s, u"01:00 PM"_s) +
        row(u"Yellow-rumped Warbler (Myrtle)"_s, u"Setophaga coronata coronata"_s, u"CA-ON"_s,
            u"Point Pelee"_s, u"1965-05-10"_s, u""_s) +
        row(u"Common Moorhen"_s, u"Gallinula galeata"_s, u"PR-"_s, u"Cabo Rojo"_s, u"2018-01-07"_s,
            u"08:00"_s) +
        row(u"Pacific Wren"_s, u"Troglodytes pacificus"_s, u"XX-YY"_s, u"Muir Woods"_s,
            u"2020-06-01"_s, u"06:00 AM"_s) +
        row(u"gull sp."_s, u"Larinae sp."_s, u"US-NY"_s, u"Jones Beach"_s, u"2019-01-01"_s, {}) +
        row(u"Greater/Lesser Scaup"_s, u"Aythya marila/affinis"_s, u"US-NY"_s, u"Jones Beach"_s,
            u"2019-01-01"_s, {}) +
        row(u"Mallard x American Black Duck (hybrid)"_s, u"Anas platyrhynchos x rubripes"_s,
            u"US-NY"_s, u"Jones Beach"_s, u"2019-01-01"_s, {}) +
        row(u"Mallard (Domestic type)"_s, u"Anas platyrhynchos (Domestic type)"_s, u"US-NY"_s,
            u"Jones Beach"_s, u"2019-01-01"_s, {}) +
        row(u"American Robin"_s, u"Turdus migratorius"_s, u"US-NY"_s, u"Home"_s, u"2017-03-02"_s,
            u"06:15 AM"_s, u"\"First one, near the \"\"lake\"\"\nby the gate\""_s);
    return text.toUtf8();
}

QStringList records(const FormFixture& f) {
    QStringList rows;
    QSqlQuery query(f.program->gdbBirdList->sql());
    query.exec(u"SELECT * FROM \"Bird List\" ORDER BY Number"_s);
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i) {
            values.append(query.value(i).toString());
        }
        rows.append(values.join(u'|'));
    }
    return rows;
}

}  // namespace

class TestExchange : public QObject {
    Q_OBJECT
private slots:
    void namesCountAsTheirSpecies_data() {
        QTest::addColumn<QString>("common");
        QTest::addColumn<QString>("scientific");
        QTest::addColumn<QString>("species");  // empty: not a species
        const char* rows[][3] = {
            {"Yellow-rumped Warbler (Myrtle)", "Setophaga coronata coronata", "Setophaga coronata"},
            {"Yellow-rumped Warbler (Audubon's)", "Setophaga coronata [auduboni Group]",
             "Setophaga coronata"},
            {"House Sparrow", "Passer domesticus", "Passer domesticus"},
            {"Northern Flicker (Yellow-shafted x Red-shafted)", "Colaptes auratus auratus x cafer",
             "Colaptes auratus"},
            {"gull sp.", "Larinae sp.", ""},
            {"Accipiter sp.", "Accipiter sp.", ""},
            {"Greater/Lesser Scaup", "Aythya marila/affinis", ""},
            {"Mallard x American Black Duck (hybrid)", "Anas platyrhynchos x rubripes", ""},
            {"Mallard (Domestic type)", "Anas platyrhynchos (Domestic type)", ""},
            {"Scytalopus sp. (undescribed form)", "Scytalopus [undescribed form]", ""},
            {"Mallard", "Anas", ""},
        };
        for (const auto& [common, scientific, species] : rows) {
            QTest::newRow(common) << QString::fromUtf8(common) << QString::fromUtf8(scientific)
                                  << QString::fromUtf8(species);
        }
    }
    void namesCountAsTheirSpecies() {
        QFETCH(QString, common);
        QFETCH(QString, scientific);
        QFETCH(QString, species);
        QCOMPARE(taxonName(common, scientific).binomial, species);
    }

    // A zipped download replaces the starter record and comes in whole.
    void eBirdDownloadComesInWhole() {
        FormFixture f;
        f.makeList();
        f.open();
        writeChecklist(f);
        const QString download = f.file(u"ebird.zip"_s);
        writeFile(download, zipOf({{u"ebird/MyEBirdData.csv"_s, eBirdData()}}));
        const QByteArray listBefore = fileBytes(f.listPath());
        // The backup gets its name only once it is whole: a copy cut short by a crash never
        // stands under a backup's name.
        const FolderWatch written(f.folder(), IN_MODIFY);
        f.dialogs.type(download);
        f.dialogs.answer(mb::Yes);
        f.trigger(u"mnuImportEBird"_s);
        QCOMPARE(f.dialogs.calls().size(), 3);
        QVERIFY(!written.names().contains(u"Old Bird List Backup(1).mdb"_s));
        const QString details = f.dialogs.calls()[1].details;
        const QStringList messages = f.takeMessages();
        QVERIFY2(messages[0].startsWith(u"Import Sightings|Add 4 species to your life list?"_s),
                 qPrintable(messages[0]));
        QVERIFY(messages[0].contains(u"Rows not counted as species: 4"_s));
        QCOMPARE(messages[1],
                 u"Import Sightings|4 species added to your life list.\n\nYour life "
                 "list as it was before is kept as \"Old Bird List Backup(1).mdb\"."_s);
        QCOMPARE(fileBytes(f.file(u"Old Bird List Backup(1).mdb"_s)), listBefore);
        // In the order first seen; the checklist's names where it has the species.
        QCOMPARE(records(f),
                 (QStringList{
                     u"1|Yellow-rumped Warbler||Newiformes|Newidae|Setophaga coronata|Point Pelee|"
                     "Canada|North America|May|1965|||"_s,
                     u"2|American Robin||Newiformes|Newidae|Turdus migratorius|Home|United States|"
                     "North America|March|2017|First one, near the \"lake\"\nby the gate|"
                     "2017-03-02, Prospect Park, Brooklyn, US-NY\n"
                     "2019-05-04, Central Park, US-NY|"_s,
                     u"3|Common Moorhen||Gruiformes|Rallidae|Gallinula chloropus|Cabo Rojo|"
                     "Puerto Rico|North America|January|2018|||"_s,
                     u"4|Pacific Wren||||Troglodytes pacificus|Muir Woods|||June|2020|||"_s}));
        for (const char* name : {"gull sp.", "Greater/Lesser Scaup", "(Domestic type)", "hybrid"}) {
            QVERIFY2(details.contains(QLatin1String(name)), name);
        }
        // New lookup entries once each; the form in browse mode, its years reaching 1965.
        QCOMPARE(f.query(u"SELECT count(*) FROM Orders WHERE \"Order\" = 'Newiformes'"_s), 1);
        QCOMPARE(f.query(u"SELECT count(*) FROM Families WHERE Family = 'Newidae'"_s), 1);
        QCOMPARE(f.form()->currentMode(), FormMode::Browse);
        QCOMPARE(f.get<QComboBox>(u"cboYear"_s)->itemText(0), u"1965"_s);
        QCOMPARE(f.shownAt(), u"Pacific Wren|Record 4 "_s);
        QVERIFY(!f.shown(u"cmdCancelImport"_s) && f.enabled(u"cmdAdd"_s));

        // Again: every species is on the list now, and nothing is asked or changed.
        f.dialogs.type(download);
        f.trigger(u"mnuImportEBird"_s);
        QVERIFY(f.takeMessages().value(0).startsWith(
            u"Import Sightings|There are no new species to add to your life list.\n\nNew species: "
            "0\nAlready on your life list (left unchanged): 4\n"_s));
        QCOMPARE(f.total(), 4);
    }

    // Species on the list stay as they are; a file that is not eBird's, or an import
    // cancelled half way, changes nothing at all.
    void importsThatLeaveTheListAlone() {
        FormFixture f(FormFixture::birdList(2));
        writeChecklist(f);
        QVERIFY(!f.program->gdbBirdList->execute(
            u"UPDATE \"Bird List\" SET CommonName = 'american robin' WHERE Number = 2"_s));
        const QString download = f.file(u"MyEBirdData.csv"_s);
        writeFile(download, eBirdData());
        const QByteArray before = [&] {
            QFile file(f.listPath());
            file.open(QIODevice::ReadOnly);
            return file.readAll();
        }();
        const QStringList listed = records(f);

        // Cancel, pressed while the file is read (nothing is asked), or once the rows are
        // being added.
        auto* bar = f.get<QProgressBar>(u"pbrProgress"_s);
        const QString cancelled =
            u"Import Sightings|The import was cancelled. Your life list has not been changed."_s;
        for (const QString& step : {u"Reading sightings..."_s, u"Adding sightings..."_s}) {
            const QMetaObject::Connection cancel =
                connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
                    if (value > 0 && f.shown(u"cmdCancelImport"_s) &&
                        f.enabled(u"cmdCancelImport"_s) && f.text(u"lblProcessing"_s) == step) {
                        f.click(u"cmdCancelImport"_s);
                    }
                });
            f.dialogs.type(download);
            f.dialogs.answer(mb::Yes);
            f.trigger(u"mnuImportEBird"_s);
            disconnect(cancel);
            const QStringList messages = f.takeMessages();
            const bool reading = step.startsWith(u"Reading");
            QCOMPARE(messages.size(), reading ? 1 : 2);
            QCOMPARE(messages.last(), cancelled);
            QVERIFY(reading ||
                    messages.first().contains(u"Already on your life list (left unchanged): 1"_s));
            QCOMPARE(records(f), listed);
            QFile file(f.listPath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), before);
            QVERIFY(!QFile::exists(f.file(u"Old Bird List Backup(1).mdb"_s)));
            QVERIFY(f.enabled(u"cmdAdd"_s) && f.enabled(u"txtCommonName"_s));
        }

        // A download without its Date column.
        const QString noDate = f.file(u"no date.csv"_s);
        writeFile(noDate, eBirdData().replace(",Date,", ",Day,"));
        f.dialogs.type(noDate);
        f.trigger(u"mnuImportEBird"_s);
        QCOMPARE_MESSAGES(f,
                          u"Import Error|The file has no \"Date\" column, so it cannot be read "
                          "as eBird data.\n\n[%1]"_s.arg(noDate));
        QCOMPARE(records(f), listed);
    }

    // Later sightings fill the further sightings up to the field's limit; a place name too long
    // for its field is kept whole with the comments.
    void laterSightingsFitTheirField() {
        EBirdSightings file;
        const QString place = u"Hawk Mountain Sanctuary--North Lookout, Berks County, PA"_s;
        for (int i = 0; i < 700; ++i) {
            file.add({u"Red-tailed Hawk"_s,
                      u"Buteo jamaicensis"_s,
                      u"US-PA"_s,
                      place,
                      {},
                      QDate(2000, 1, 1).addDays(i),
                      -1,
                      i + 2});
        }
        const ImportPlan plan = planEBirdImport(file, nullptr, {}, {});
        QCOMPARE(plan.records.size(), 1);
        const QStringList& record = plan.records[0];
        QCOMPARE(record[planField::Location], place.left(50));
        QCOMPARE(record[planField::Comments], u"Location: "_s + place);
        const QStringList lines = record[planField::Additional].split(u'\n');
        QVERIFY(record[planField::Additional].size() <= 32000);
        QCOMPARE(lines.first(), u"2000-01-02, "_s + place + u", US-PA"_s);
        QCOMPARE(lines.last(), u"%1 more sightings not listed"_s.arg(699 - (lines.size() - 1)));
        QVERIFY(record[planField::Additional].size() + lines[1].size() + 1 > 32000);
    }

    // A time in a hostile file that is no time of day counts as none (the hours are never
    // multiplied past an int).
    void oddValuesAreReadSafely() {
        const auto plan = [](const QString& time, const QString& place) {
            QString error;
            const std::optional<EBirdSightings> file =
                readEBirdFile(csvText(kHeading +
                                      row(u"Snow Goose"_s, u"Anser caerulescens"_s, u"US-NJ"_s,
                                          place, u"2012-11-03"_s, time) +
                                      row(u"Snow Goose"_s, u"Anser caerulescens"_s, u"US-NJ"_s,
                                          u"Later Pond"_s, u"2012-11-03"_s, u"23:59"_s)),
                              error);
            return file ? planEBirdImport(*file, nullptr, {}, {}).records : QList<QStringList>{};
        };
        const QList<QStringList> none = plan({}, u"Brigantine"_s);
        QCOMPARE(none.size(), 1);
        QCOMPARE(none[0][planField::Location], u"Brigantine"_s);
        for (const QString& time : {u"99999999:00"_s, u"24:00"_s, u"-3:15"_s, u"07:75"_s}) {
            QCOMPARE(plan(time, u"Brigantine"_s), none);
        }
    }

    void fieldsTakeCharacters_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        const QString duck = u"🦆"_s;
        QTest::newRow("50 emoji") << duck.repeated(50) << duck.repeated(50);
        QTest::newRow("51 emoji") << duck.repeated(51) << duck.repeated(50);
        QTest::newRow("emoji last")
            << QString(49, u'a') + duck + u" pond"_s << QString(49, u'a') + duck;
    }
    // Both imports count a field's length in characters, as the record form does, and cut a
    // longer value between two characters.
    void fieldsTakeCharacters() {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QString error;
        const std::optional<EBirdSightings> file =
            readEBirdFile(csvText(kHeading + row(name, u"Anser caerulescens"_s, u"US-NJ"_s, name,
                                                 u"2012-11-03"_s, {})),
                          error);
        const ImportPlan eBird = planEBirdImport(*file, nullptr, {}, {});
        const std::optional<ImportPlan> sheet = spreadsheet::planImport(
            csvText(u"CommonName,Location\r\n%1,%1\r\n"_s.arg(name)), {}, error);
        for (const QStringList& record : {eBird.records.value(0), sheet->records.value(0)}) {
            QCOMPARE(record.value(planField::CommonName), stored);
            QCOMPARE(record.value(planField::Location), stored);
        }
        QCOMPARE(eBird.shortened.size(), name == stored ? 0 : 2);
    }

    // A date in a form not read is told with its row and the date as written, apart from the
    // rows that are no species.
    void unreadDatesAreToldApart() {
        QString error;
        const std::optional<EBirdSightings> file =
            readEBirdFile(csvText(kHeading +
                                  row(u"American Robin"_s, u"Turdus migratorius"_s, u"US-NY"_s,
                                      u"Home"_s, u"2015/05/12"_s, {}) +
                                  row(u"gull sp."_s, u"Larinae sp."_s, u"US-NY"_s, u"Beach"_s,
                                      u"2015-05-12"_s, {}) +
                                  row(u"Pacific Wren"_s, u"Troglodytes pacificus"_s, u"US-CA"_s,
                                      u"Muir Woods"_s, u"\"May 12, 2015\""_s, {}) +
                                  row(u"American Robin"_s, u"Turdus migratorius"_s, u"US-NY"_s,
                                      u"Home"_s, u"2015-05-13"_s, {})),
                          error);
        const ImportPlan plan = planEBirdImport(*file, nullptr, {}, {});
        QCOMPARE(plan.records.size(), 1);
        QCOMPARE(plan.question(),
                 u"Add 1 species to your life list?\n\nNew species: 1\nAlready on your life list "
                 "(left unchanged): 0\nRows not counted as species: 1\nRows left out because "
                 "Plovix could not read the date: 2"_s);
        QCOMPARE(plan.details(),
                 u"Rows not counted as species:\ngull sp.\n\nRows left out because Plovix could "
                 "not read the date:\nAmerican Robin (row 2: date \"2015/05/12\")\nPacific Wren "
                 "(row 4: date \"May 12, 2015\")"_s);
    }

    // The spreadsheet holds every field; read back into a new life list it gives the same
    // records.
    void spreadsheetGoesOutAndComesBack() {
        QList<Sighting> sightings = FormFixture::birdList(3);
        sightings[0] += {{u"Location"_s, u"Cabo, \"Rojo\""_s},
                         {u"Comments"_s, u"Two\r\nlines"_s},
                         {u"Images"_s, u"/photos/a.jpg,"_s}};
        sightings[1][0].second = u"Rüppell’s Warbler"_s;
        FormFixture f(sightings);
        const QString sheet = f.file(u"My Life List.csv"_s);
        f.dialogs.type(f.file(u"My Life List"_s));
        f.dialogs.answer(mb::No);
        f.trigger(u"mnuSaveCopyCsv"_s);
        QCOMPARE(f.takeMessages().value(0),
                 u"Life List Copy|[%1] successfully saved as a "
                 "spreadsheet.\n\nWould you like to open it now?"_s.arg(sheet));
        QFile file(sheet);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(
            bytes.startsWith("\xEF\xBB\xBFNumber,CommonName,AlternateName,Order,Family,"
                             "Species,Location,Country,Region,Month,Year,Comments,Additional,"
                             "Images\r\n1,Bird 1,"));
        QVERIFY(bytes.contains(",\"Cabo, \"\"Rojo\"\"\",") &&
                bytes.contains(",\"Two\r\nlines\",") && bytes.contains("Rüppell’s"));
        QCOMPARE(bytes.count("\r\n"), 5);

        FormFixture g;
        g.makeList();
        g.open();
        g.dialogs.type(sheet);
        g.dialogs.answer(mb::Yes);
        g.trigger(u"mnuImportCsv"_s);
        QCOMPARE(records(g), records(f));
    }
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
