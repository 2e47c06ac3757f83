// The life list's outputs: the web page against expected files and its save dialog, the
// report layout file, the report's pages, and the preview and printout from the record form.
#include "RecordingCanvas.h"
#include "database/SqlFunctions.h"
#include "output/ReportPages.h"
#include "output/SightingTable.h"
#include "platform/DateText.h"
#include "FormFixture.h"

#include <sqlite3.h>

namespace {

Sighting bird(const QString& order, const QString& family, const QString& species,
              const QString& name, const Sighting& more = {}) {
    return Sighting{{u"Order"_s, order},
                    {u"Family"_s, family},
                    {u"Species"_s, species},
                    {u"CommonName"_s, name}} +
           more;
}

// Adds `count` sightings in three orders and seven families; every fifth has a long comment.
void addGenerated(FormFixture& f, int count) {
    const DbError error = f.program->gdbBirdList->execute(
        u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
        "INSERT INTO \"Bird List\" (CommonName, \"Order\", Family, Species, Comments) "
        "SELECT 'Bird ' || i, 'Order ' || (i % 3), 'Family ' || (i % 7), 'Avis ' || i, "
        "CASE WHEN i % 5 = 0 THEN replace(hex(zeroblob(40)), '00', 'seen well ') END "
        "FROM n WHERE i <= ?"_s,
        {count, count});
    QVERIFY2(!error, qPrintable(error.description));
}

}  // namespace

class TestOutput : public QObject {
    Q_OBJECT

private slots:
    // Each row's page is compared with output/expected/<row name, dashed>.html.
    void webPageMatchesItsExpectedFile_data() {
        QTest::addColumn<QList<Sighting>>("sightings");
        QTest::addColumn<QString>("owner");
        const Sighting seen{{"Location", "Hyde Park"}, {"Country", "United Kingdom"},
                            {"Month", "May"},          {"Year", "2001"},
                            {"Comments", "Singing"},   {"Additional", "Kew 2003"}};
        QTest::newRow("two orders")
            << QList<Sighting>{bird("Passeriformes", "Troglodytidae", "Troglodytes troglodytes",
                                    "Eurasian Wren", seen),
                               bird("Passeriformes", "Paridae", "Parus major", "Great Tit"),
                               bird("Passeriformes", "Troglodytidae", "Cistothorus palustris",
                                    "Marsh Wren"),
                               bird("Anseriformes", "Anatidae", "Anas platyrhynchos", "Mallard")}
            << u"Ann"_s;
        // No order row and no count for the sighting without an order; no family row where the
        // order changes and the family name does not.
        QTest::newRow("no order shared family")
            << QList<Sighting>{bird({}, {}, {}, "Mystery Bird"),
                               bird("Gruiformes", "Turnicidae", "Turnix sylvaticus", "Buttonquail"),
                               bird("Charadriiformes", "Turnicidae", "Turnix suscitator",
                                    "Barred Buttonquail")}
            << u"Ann"_s;
        // One row, and one count, for an order or family spelled in two letter cases.
        QTest::newRow("letter cases")
            << QList<Sighting>{bird("Passeriformes", "Troglodytidae", "Troglodytes troglodytes",
                                    "Eurasian Wren"),
                               bird("passeriformes", "troglodytidae", "Cistothorus palustris",
                                    "Marsh Wren"),
                               bird("PASSERIFORMES", "Paridae", "Parus major", "Great Tit"),
                               bird("Anseriformes", "Anatidae", "Anas platyrhynchos", "Mallard")}
            << u"Ann"_s;
        QTest::newRow("escaping") << QList<Sighting>{bird(
                                         "Passeriformes", "O'Brien's <Warblers>",
                                         "Curruca rueppelli", "Rüppell's Warbler",
                                         {{"Comments", "<b a=\"1\">Tom's & Jerry's</b>"},
                                          {"Month", "June"}})}
                                  << u"Tom & <Jerry>"_s;
        QTest::newRow("empty") << QList<Sighting>{} << QString();
    }

    void webPageMatchesItsExpectedFile() {
        QFETCH(QList<Sighting>, sightings);
        QFETCH(QString, owner);
        const QString expected = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-');
        FormFixture f(sightings);
        if (sightings.isEmpty()) {
            QVERIFY(!f.program->gdbBirdList->execute(u"DELETE FROM \"Bird List\""_s));
        }
        f.program->gstrUserName = owner;
        const QString page = f.file(u"page.html"_s);
        f.dialogs.type(page);
        f.dialogs.answer(mb::No);
        f.trigger(u"mnuSaveCopyHTML"_s);
        const QString wanted = QString::fromUtf8(fileBytes(QStringLiteral(PLOVIX_EXPECTED_DIR "/") +
                                                           expected + ".html"))
                                   .replace(u"@DATE@"_s, datetext::shortDate(f.clock.today()))
                                   .replace(u"@PROGRAM@"_s, f.program->app.titleAndVersion())
                                   .replace(u"\n"_s, u"\r\n"_s);
        QVERIFY(!wanted.isEmpty());
        QCOMPARE(fileBytes(page), wanted.toUtf8());
    }

    void webPageDialogLoopFailuresAndLargeCounts() {
        FormFixture f(FormFixture::birdList(2));
        const QString existing = f.file(u"old.html"_s);
        QFile(existing).open(QIODevice::WriteOnly);
        // Declining to replace a file opens the dialog again; ".txt" becomes ".html".
        f.dialogs.type(existing);
        f.dialogs.answer(mb::No);
        f.dialogs.type(f.file(u"copy.txt"_s));
        f.dialogs.answer(mb::No);
        f.trigger(u"mnuSaveCopyHTML"_s);
        QCOMPARE(f.dialogs.proposedFiles(), QStringList(2, f.file(u"My Life List.html"_s)));
        QCOMPARE(f.dialogs.calls().first().title, u"Save Life List As Web Page"_s);
        QCOMPARE(f.dialogs.calls().first().prompt, u"Web Page (*.html)"_s);
        QCOMPARE_MESSAGES(
            f, u"Save File|%1\nThis file already exists.\n\nReplace existing file?"_s.arg(existing),
            u"Life List Copy|[%1] successfully saved as web page.\n\nWould you like to "
            "open it now in your browser?"_s.arg(f.file(u"copy.html"_s)));
        QCOMPARE(QFileInfo(existing).size(), 0);
        QVERIFY(f.form()->isEnabled());
        // ".HTML" is kept; Yes opens the page; a desktop that cannot open it says so.
        const QString upper = f.file(u"PAGE.HTML"_s);
        for (bool works : {true, false}) {
            f.shell.works = works;
            f.dialogs.type(upper);
            if (!works) {
                f.dialogs.answer(mb::Yes);  // replace it
            }
            f.dialogs.answer(mb::Yes);
            f.trigger(u"mnuSaveCopyHTML"_s);
        }
        QCOMPARE(f.shell.opened, QList<QUrl>(2, QUrl::fromLocalFile(upper)));
        QCOMPARE(f.takeMessages().last(),
                 u"Browser Error|No program could be found to open the file '%1'."_s.arg(upper));
        // A file that cannot be written: its error, and no offer to open it.
        const QString nowhere = f.file(u"no such folder/page.html"_s);
        f.dialogs.type(nowhere);
        f.trigger(u"mnuSaveCopyHTML"_s);
        const QStringList messages = f.takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(
                     u"File Creation Error|The file '%1' could not be written"_s.arg(nowhere)),
                 qPrintable(messages[0]));
        QCOMPARE(f.cursor.mousePointer(), int(WaitCursor::Default));

        // Counts past sixteen bits; "Bird 1" and "Bird 2" have no order and are left out.
        addGenerated(f, 33000);
        f.dialogs.type(f.file(u"big.html"_s));
        f.dialogs.answer(mb::No);
        f.trigger(u"mnuSaveCopyHTML"_s);
        const QByteArray text = fileBytes(f.file(u"big.html"_s));
        QVERIFY(text.contains("<td colspan='7'>Order 1</td><td align='right'>11000</td>"));
        QVERIFY(text.contains("Total Bird Count: 33000</td>"));
    }

    void layoutFileMistakesAreNamed_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("description");
        const QString base =
            u"font f \"Arial\" 9\nrows f\ncolumn 50% left \"Name\" \"{CommonName}\"\n"_s;
        QTest::newRow("keyword") << base + u"colour red"_s
                                 << u"line 4: 'colour' is not a layout keyword"_s;
        QTest::newRow("font") << u"header title center \"{Title}\""_s
                              << u"line 1: the font 'title' is not given on a 'font' line above"_s;
        QTest::newRow("value") << base + u"group Order f left \"{Colour}\""_s
                               << u"line 4: {Colour} is not a value this text can show"_s;
        QTest::newRow("field") << base + u"sort Colour"_s
                               << u"line 4: 'Colour' is not a field of the life list"_s;
        QTest::newRow("length")
            << base + u"margins 2"_s
            << u"line 4: '2' is not a length such as 0.5in, 12mm, 1.5cm or 36pt"_s;
        QTest::newRow("quote") << base + u"footer f left \"Page {Page}"_s
                               << u"line 4: a text in quotes is not closed"_s;
        QTest::newRow("brace") << base + u"footer f left \"Page {Page\""_s
                               << u"line 4: a '{' is not closed by '}' (write '{{' for a brace)"_s;
        QTest::newRow("extra") << base + u"rows f f"_s << u"line 4: 'f' is one word too many"_s;
        QTest::newRow("width") << base + u"column 60% left \"More\" \"{Year}\""_s
                               << u"the columns are wider than the page (110%)"_s;
        QTest::newRow("margins") << base + u"margins 5in"_s
                                 << u"the margins leave no room on the page"_s;
        QTest::newRow("no rows") << u"font f \"Arial\" 9\ncolumn 50% left \"A\" \"{Year}\""_s
                                 << u"no 'rows' line gives the font of the sightings"_s;
        // What a hostile file could make the program do is bounded, and named by its line.
        QTest::newRow("font size") << base + u"font big \"Arial\" 5000"_s
                                   << u"line 4: a font's size is from 1 to 200 points"_s;
        QTest::newRow("narrow column") << base + u"column 0.5% left \"\" \"{Year}\""_s
                                       << u"line 4: a column is at least 1% wide"_s;
        QTest::newRow("columns") << base + u"column 1% left \"\" \"{Year}\"\n"_s.repeated(50)
                                 << u"line 53: more than 50 columns"_s;
        QTest::newRow("groups") << base + u"group Order f left \"{Value}\"\n"_s.repeated(11)
                                << u"line 14: more than 10 group lines"_s;
        QTest::newRow("sort fields")
            << base + u"sort"_s + u" Year"_s.repeated(16) << u"line 4: more than 15 sort fields"_s;
        QTest::newRow("text") << base + u"header f left \""_s + u"{{"_s.repeated(501) + u"\""_s
                              << u"line 4: a text of more than 1000 characters"_s;
        QTest::newRow("line") << base + u"# "_s + u"x"_s.repeated(4000)
                              << u"line 4: a line of more than 4000 characters"_s;
        QTest::newRow("no room")
            << base + u"font big \"Arial\" 200\n"_s + u"header big left \"{Title}\"\n"_s.repeated(3)
            << u"the header, footer, headings and groups leave no room for the sightings on "
               u"the page"_s;
        const QString padding = u"# a comment of a layout file\n"_s;
        const qsizetype largest = 1 << 20;
        QTest::newRow("file")
            << base + padding.repeated(largest / padding.size() + 1)
            << u"line %1: the file grows past 1024 KB here; a layout takes a few KB"_s.arg(
                   (largest - base.size()) / padding.size() + 4);
    }

    void layoutFileMistakesAreNamed() {
        QFETCH(QString, text);
        QFETCH(QString, description);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"birdlist.rpt"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.size());
        file.close();
        ReportLayout layout;
        const ReportError error = readReportLayout(path, layout);
        QCOMPARE(error.number, ReportError::kLayoutInvalid);
        QCOMPARE(error.description.section(u' ', 1), description);
    }

    // A sighting taller than a page runs on over the next pages, every word of it, with the
    // headings on each page and nothing over the footer; a word wider than its column is broken
    // into lines that fit it, in time in proportion to its length (8,000 letters took minutes).
    // Orders and families spelled in two letter cases are one group.
    void longSightingsRunOverPagesAndCaseVariantsGroup() {
        ReportLayout layout;
        QVERIFY(!readReportLayout(QStringLiteral(PLOVIX_LAYOUT_FILE), layout));
        QStringList words;
        for (int i = 0; i < 600; ++i) {
            words.append(u"word%1"_s.arg(i));
        }
        const QString longWord = u"abcdefghij"_s.repeated(800);
        FormFixture f(QList<Sighting>{
            bird("Passeriformes", "Turdidae", "Turdus a", "Before", {{"Comments", u"short"_s}}),
            bird("passeriformes", "turdidae", "Turdus b", "Tall", {{"Comments", words.join(u' ')}}),
            bird("PASSERIFORMES", "Turdidae", "Turdus c", "Long word", {{"Comments", longWord}})});
        SightingTable table;
        QVERIFY(!SightingTable::read(*f.program->gdbBirdList, layout.sortOrder(), table,
                                     layout.fieldsRead(), layout.groups.size()));
        RecordingCanvas canvas;
        const QList<ReportPage> pages = layOutReport(layout, table, {}, canvas);
        QVERIFY(pages.size() >= 3);
        canvas.setFontName(u"Arial"_s);
        canvas.setFontSize(9);
        const double rowHeight = canvas.textHeight({});
        const double comments = canvas.scaleWidth() * 0.64;  // the left edge of the column
        QStringList commentLines;
        QStringList headings;
        for (const ReportPage& page : pages) {
            double footer = canvas.scaleHeight();
            for (const ReportItem& item : page) {
                footer = item.rule && item.y > canvas.scaleHeight() / 2 ? item.y : footer;
            }
            QVERIFY(std::any_of(page.cbegin(), page.cend(),
                                [](const ReportItem& item) { return item.text == u"Comments"; }));
            for (const ReportItem& item : page) {
                if (item.font == u"text") {
                    QVERIFY2(item.y + rowHeight <= footer, qPrintable(item.text));
                    if (item.x >= comments - 1 && item.x < comments + 1) {
                        commentLines.append(item.text);
                    }
                } else if (item.font == u"order" || item.font == u"family") {
                    headings.append(item.text);
                }
            }
        }
        QCOMPARE(headings, QStringList({u"Passeriformes"_s, u"3"_s, u"Turdidae"_s, u"3"_s}));
        QCOMPARE(commentLines.first(), u"short"_s);
        // The tall sighting starts on the first page, under the one before it.
        QVERIFY(std::any_of(pages[0].cbegin(), pages[0].cend(),
                            [](const ReportItem& item) { return item.text == u"Tall"; }));
        const qsizetype wordLines =
            std::find_if(commentLines.cbegin(), commentLines.cend(),
                         [](const QString& line) { return line.startsWith(u"abcdefghij"_s); }) -
            commentLines.cbegin();
        QVERIFY(wordLines > 1 && wordLines < commentLines.size());
        QCOMPARE(commentLines.mid(1, wordLines - 1).join(u' ').split(u' '), words);
        const QStringList pieces = commentLines.mid(wordLines);
        QCOMPARE(pieces.join(QString()), longWord);
        canvas.setFontSize(9);
        for (const QString& piece : pieces) {
            QVERIFY(canvas.textWidth(piece) <= canvas.scaleWidth() * 0.18 - 100);
        }
        QVERIFY(canvas.textWidth(pieces[0] + u'a') > canvas.scaleWidth() * 0.18 - 100);
    }

    void reportPagesCarryHeadingsGroupsAndPageNumbers() {
        ReportLayout layout;
        QVERIFY(!readReportLayout(QStringLiteral(PLOVIX_LAYOUT_FILE), layout));
        FormFixture f(QList<Sighting>{});
        const ReportValues values{u"Bird Sightings Life List for Ann"_s, u"Plovix 1.0 by Tenvane"_s,
                                  u"12/6/26"_s};
        for (int count : {0, 400}) {
            QVERIFY(!f.program->gdbBirdList->execute(u"DELETE FROM \"Bird List\""_s));
            addGenerated(f, count);
            SightingTable table;
            QVERIFY(!SightingTable::read(*f.program->gdbBirdList, layout.sortOrder(), table,
                                         layout.fieldsRead()));
            RecordingCanvas canvas;
            const QList<ReportPage> pages = layOutReport(layout, table, values, canvas);
            QCOMPARE(pages.size() > 3, count > 0);
            int orderTotal = 0;
            for (qsizetype p = 0; p < pages.size(); ++p) {
                QStringList shown;
                double lastRow = 0;
                for (const ReportItem& item : pages[p]) {
                    shown.append(item.text);
                    lastRow = item.font == u"text" ? std::max(lastRow, item.y) : lastRow;
                }
                for (const QString& text : {values.title, u"Printed 12/6/26"_s, u"Common Name"_s,
                                            u"Additional Sightings"_s, values.companyTag,
                                            u"Page %1 of %2"_s.arg(p + 1).arg(pages.size())}) {
                    QVERIFY2(shown.contains(text), qPrintable(text));
                }
                for (qsizetype i = 0; i < pages[p].size(); ++i) {
                    const ReportItem& item = pages[p][i];
                    if (item.font != u"order" && item.font != u"family") {
                        continue;
                    }
                    // A heading is followed by its count, and by a row on its page.
                    QVERIFY(item.y < lastRow);
                    if (item.font == u"order" && item.text.startsWith(u"Order"_s)) {
                        const int rows =
                            f.query(u"SELECT count(*) FROM \"Bird List\" WHERE \"Order\" = ?"_s,
                                    {item.text})
                                .toInt();
                        QCOMPARE(pages[p][i + 1].text, QString::number(rows));
                        orderTotal += rows;
                    }
                }
            }
            QCOMPARE(orderTotal, count);
        }
    }

    // A column's text may show the values of the page; they are not fields, and the sightings
    // are read with the life list's fields alone. Asked for as columns, they were read only
    // because SQLite takes a quoted name it does not know for a text, and failed where it does
    // not.
    void columnTextsWithPageValuesReadOnlyFields() {
        ReportLayout layout;
        QVERIFY(!parseReportLayout(u"birdlist.rpt"_s,
                                   u"font f \"Arial\" 9\nrows f\n"
                                   "column 90% left \"Name\" \"{CommonName} {Page} {Title}\"\n"
                                   "column 10% right \"No.\" \"{Number}\""_s,
                                   layout));
        QCOMPARE(layout.fieldsRead(), QStringList({u"CommonName"_s, u"Number"_s}));
        FormFixture f(
            QList<Sighting>{bird("Passeriformes", "Troglodytidae", "Troglodytes", "Wren")});
        sqlite3* engine = engineHandle(f.program->gdbBirdList->sql());
        QVERIFY(engine);
        QCOMPARE(sqlite3_db_config(engine, SQLITE_DBCONFIG_DQS_DML, 0, nullptr), SQLITE_OK);
        SightingTable table;
        const DbError error = SightingTable::read(*f.program->gdbBirdList, layout.sortOrder(),
                                                  table, layout.fieldsRead());
        QVERIFY2(!error, qPrintable(error.description));
        RecordingCanvas canvas;
        const QList<ReportPage> pages =
            layOutReport(layout, table, {u"Life List"_s, u"Plovix"_s, u"1/1/26"_s}, canvas);
        QVERIFY(!pages.isEmpty());
        QVERIFY(std::any_of(pages[0].cbegin(), pages[0].cend(),
                            [](const ReportItem& item) { return item.text == u"Wren  "_s; }));
    }

    void previewAndPrintFromTheRecordForm() {
        FormFixture f(FormFixture::birdList(3));
        f.program->gstrUserName = u"Ann"_s;
        QFile::copy(QStringLiteral(PLOVIX_LAYOUT_FILE), f.file(u"birdlist.rpt"_s));
        addGenerated(f, 300);
        // An edit of the record shown is stored before the report reads the file.
        f.enter(u"txtComments"_s, u"Stored first"_s);
        f.dialogs.type(f.file(u"preview.pdf"_s));
        f.press({"cmdReport"});
        QCOMPARE(f.stored(3, u"Comments"_s).toString(), u"Stored first"_s);
        QCOMPARE(f.dialogs.calls().last().kind, ScriptedDialogs::Call::Preview);
        QCOMPARE(f.dialogs.calls().last().title, u"Plovix - Bird Sightings Life List for Ann"_s);
        const int pages = pdfPages(f.file(u"preview.pdf"_s));
        QVERIFY(pages > 3);
        f.dialogs.type(f.file(u"printed.pdf"_s));
        f.trigger(u"mnuPrintList"_s);
        QCOMPARE(pdfPages(f.file(u"printed.pdf"_s)), pages);
        // A print job that fails: the user may cancel silently, or read why.
        const QString nowhere = f.file(u"no such folder/printed.pdf"_s);
        for (int answer : {mb::Yes, mb::No}) {
            f.dialogs.type(nowhere);
            f.dialogs.answer(answer);
            f.trigger(u"mnuPrintList"_s);
        }
        const QString cancel = u"Print Cancellation|Cancel Life List print order?"_s;
        QCOMPARE_MESSAGES(
            f, cancel, cancel,
            u"Life List Printing Error|Error 20513:\nThe printout could not be written "
            "to the file '%1'."_s.arg(nowhere));
        // A malformed and a missing layout file; the form is usable afterwards.
        QFile layout(f.file(u"birdlist.rpt"_s));
        QVERIFY(layout.open(QIODevice::Append) && layout.write("colour red\n"));
        layout.close();
        f.press({"cmdReport"});
        QVERIFY(
            f.takeMessages().value(0).startsWith(u"Report Error|Error 20510:\nbirdlist.rpt, "_s));
        QVERIFY(layout.remove());
        f.trigger(u"mnuPrintList"_s);
        QCOMPARE_MESSAGES(f,
                          u"Report File Not Found|Bird List Report not found.\n\nPlease check that "
                          "'birdlist.rpt' is named correctly\n and installed in the same folder "
                          "as Plovix."_s);
        QVERIFY(f.form()->isEnabled());
        QCOMPARE(f.cursor.mousePointer(), int(WaitCursor::Default));
    }
};

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
