// Lifetime statistics: the counting rules, the two orders of the lists, the text file, the
// printed pages and the window driven from the record form.
#include "FileSizeLimit.h"
#include "RecordingCanvas.h"
#include "platform/DateText.h"
#include "FormFixture.h"
#include "record_form/Hints.h"
#include "statistics_form/StatList.h"
#include "statistics/StatisticsPrint.h"
#include "statistics/TallyTable.h"

#include <QProgressBar>
#include <QTreeWidget>

namespace {

// Rows as "text=count", in their order.
QStringList shown(const QList<StatRow>& rows) {
    QStringList texts;
    for (const StatRow& row : rows) {
        texts.append(row.text + u'=' + row.count);
    }
    return texts;
}

QList<StatRow> rowsOf(const QStringList& texts) {
    QList<StatRow> rows;
    for (const QString& text : texts) {
        rows.append({text.section(u'=', 0, -2), text.section(u'=', -1)});
    }
    return rows;
}

StatisticsReport reportOf(const QList<StatisticsReport::Section>& sections) {
    return {u"Plovix - Lifetime Statistics for Ann"_s, u"Total Sightings: 7"_s, sections};
}

const PrintedPage kPage{u"Printed 12/6/26"_s, u"Plovix 1.0 by Tenvane Software"_s};

// A label of the statistics window (the record form has labels of the same names).
QString caption(const FormFixture& f, const QString& name) {
    return f.get(u"frmStatistics"_s)->findChild<QLabel*>(name)->text();
}

// A life list in which every rule of the counting has a case.
QList<Sighting> variedList() {
    const QVariantList orders{
        "Passeriformes", "Anseriformes", "passeriformes", "Passeriformes ", "", "   ", QVariant()};
    const QVariantList countries{"Peru",  "Peru", "Peru",          "Spain",
                                 "Spain", "peru", "Côte d'Ivoire", "\t"};
    const QVariantList regions{"Europe", "Asia", "Atlantis", QVariant()};
    const QVariantList months{"January", "March", "Mar", "march", QVariant(), "December"};
    const QVariantList years{"1970", "1999", "2026", "1969", "2027", QVariant(), "2001"};
    QList<Sighting> list;
    for (int i = 0; i < 240; ++i) {
        Sighting s{{u"CommonName"_s, u"Bird %1"_s.arg(i)},
                   {u"Order"_s, orders[i % 7].toString()},
                   {u"Family"_s, i % 5 == 3 ? u"Unspecified"_s : u"Family %1"_s.arg(i % 4)},
                   {u"Location"_s, i % 17 ? u"Site %1"_s.arg(i % 100) : QString()},
                   {u"Country"_s, countries[i % 8].toString()},
                   {u"Region"_s, regions[i % 4].toString()},
                   {u"Month"_s, months[i % 6].toString()},
                   {u"Year"_s, years[i % 7].toString()}};
        list.append(s);
    }
    return list;
}

}  // namespace

class TestStatistics : public QObject {
    Q_OBJECT

private slots:
    void tallyRules_data() {
        QTest::addColumn<QVariant>("fixedList");  // its entries; none: a growing table
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QStringList>("expected");
        const QStringList months{"January", "February", "March"};
        QTest::newRow("empty values, case and trailing spaces")
            << QVariant()
            << QVariantList{QVariant(), "", "   ", "Peru", "peru", "Peru ", "\t", "Peru"}
            << QStringList{"Unspecified=3", "Peru=2", "peru=1", "Peru =1", "\t=1"};
        QTest::newRow("\"Unspecified\" is the row of the empty values")
            << QVariant() << QVariantList{"Spain", "Unspecified", QVariant()}
            << QStringList{"Unspecified=2", "Spain=1"};
        QTest::newRow("only list entries, in the list's order")
            << QVariant(months) << QVariantList{"March",    "Mar",     "march", " March",
                                                QVariant(), "January", "March", "Unspecified"}
            << QStringList{"January=1", "March=2", "Unspecified=1"};
        QTest::newRow("years outside the list")
            << QVariant(QStringList{"1970", "1971"}) << QVariantList{"1969", "2021", "1971"}
            << QStringList{"1971=1"};
        QTest::newRow("an empty list counts only the empty values")
            << QVariant(QStringList()) << QVariantList{"Europe", QVariant()}
            << QStringList{"Unspecified=1"};
    }
    void tallyRules() {
        QFETCH(QVariant, fixedList);
        QFETCH(QVariantList, values);
        QFETCH(QStringList, expected);
        TallyTable table = fixedList.isValid() ? TallyTable::fixed(fixedList.toStringList())
                                               : TallyTable::growing();
        for (const QVariant& value : values) {
            table.count(value);
        }
        QCOMPARE(shown(table.countedRows()), expected);
    }

    void listsSwitchBetweenTheirOrderAndCountOrder() {
        // Equal counts keep the order they had; a second double-click goes back.
        StatList orders(StatList::Kind::Alphabetical, u"lstOrder"_s);
        orders.fill(rowsOf({"R=12", "Q=40", "P=12"}));
        const QStringList alphabetical{"P=12", "Q=40", "R=12"};
        QCOMPARE(shown(orders.rows()), alphabetical);
        orders.toggleOrder();
        QCOMPARE(shown(orders.rows()), (QStringList{"Q=40", "P=12", "R=12"}));
        QCOMPARE(orders.topLevelItem(0)->text(1), u"40"_s);
        // Counted again while in count order: the order of the count, until the next switch.
        orders.fill(rowsOf({"R=12", "Q=40", "P=12"}));
        QCOMPARE(shown(orders.rows()), (QStringList{"R=12", "Q=40", "P=12"}));
        orders.toggleOrder();
        QCOMPARE(shown(orders.rows()), alphabetical);

        StatList months(StatList::Kind::Calendar, u"lstMonth"_s);
        const QStringList calendar{"January=3", "February=5", "March=3", "Unspecified=5"};
        months.fill(rowsOf(calendar));
        months.toggleOrder();
        QCOMPARE(shown(months.rows()),
                 (QStringList{"February=5", "Unspecified=5", "January=3", "March=3"}));
        // Counted again: calendar order, and the next switch keeps it.
        months.fill(rowsOf(calendar));
        QCOMPARE(shown(months.rows()), calendar);
        months.toggleOrder();
        QCOMPARE(shown(months.rows()), calendar);
        months.toggleOrder();
        QCOMPARE(shown(months.rows()).first(), u"February=5"_s);
        QVERIFY(months.selectedItems().isEmpty());
    }

    void theTextFileLinesUpItsCounts_data() {
        QTest::addColumn<QList<StatisticsReport::Section>>("sections");
        QTest::addColumn<QString>("expected");  // after the title, date and total lines
        // Counts in column 18: the longest entry has 13 characters.
        QTest::newRow("ordinary")
            << QList<StatisticsReport::Section>{{u"Orders"_s,
                                                 rowsOf({"Passeriformes=5", "Rüppell's=2"})},
                                                {u"Years"_s, rowsOf({"1999=7"})}}
            << u" 2 ORDERS        Number of Sightings\nPasseriformes    5\nRüppell's        2\n\n"
               "YEARLY TOTALS    Number of Sightings\n1999             7\n\n"_s;
        // With every list empty the headings are longer than the count column.
        QTest::newRow("all empty")
            << QList<StatisticsReport::Section>{{u"Regions"_s, {}}, {u"Months"_s, {}}}
            << u" 0 REGIONS\n    Number of Sightings\n\n"
               "MONTHLY TOTALS\n    Number of Sightings\n\n"_s;
    }
    void theTextFileLinesUpItsCounts() {
        QFETCH(QList<StatisticsReport::Section>, sections);
        QFETCH(QString, expected);
        expected.prepend(
            u"Plovix - Lifetime Statistics for Ann\nPrinted 12/6/26 10:15:00 AM\n"
            "Total Sightings: 7\n\n"_s);
        const QByteArray text =
            statisticsText(reportOf(sections), u"Printed 12/6/26 10:15:00 AM"_s);
        QCOMPARE(QString::fromUtf8(text), expected.replace(u"\n"_s, u"\r\n"_s));
    }

    void printedPagesRepeatTheHeadingAndKeepClearOfTheFooter() {
        QStringList orders;
        for (int i = 1; i <= 150; ++i) {
            orders.append(u"Order %1=%2"_s.arg(i, 3, 10, QChar(u'0')).arg(i));
        }
        const StatisticsReport report =
            reportOf({{u"Orders"_s, rowsOf(orders)}, {u"Years"_s, {}}, {u"Months"_s, {}}});
        RecordingCanvas canvas;
        QVERIFY(printStatistics(canvas, report, kPage).isEmpty());
        QCOMPARE(canvas.pages, 3);

        // The footer starts at the rule drawn across the lower part of the page.
        const QStringList rules = canvas.items.filter(QRegularExpression(u"^1\\|line\\|"_s));
        const double footerTop = rules.last().section(u'|', 2).toDouble();
        QVERIFY(footerTop > 7200);
        QStringList pageNumbers;
        const double lineHeight = canvas.textHeight({});
        for (int page = 1; page <= 3; ++page) {
            const QStringList onPage =
                canvas.items.filter(QRegularExpression(u"^%1\\|"_s.arg(page)));
            // Title, date, total, rule, then the section's heading in bold.
            QCOMPARE(onPage[4].section(u'|', 3), u"1|150 Orders (Number of Sightings)"_s);
            for (const QString& item : onPage) {
                const double top = item.section(u'|', 2, 2).toDouble();
                if (item.section(u'|', 1, 1) != u"line" && top < footerTop) {
                    QVERIFY2(top + lineHeight <= footerTop + 0.5, qPrintable(item));
                }
            }
            pageNumbers.append(onPage.last().section(u'|', 4));
        }
        QCOMPARE(pageNumbers, (QStringList{"Page No. 1", "Page No. 2", "Page No. 3"}));
        QCOMPARE(canvas.items.filter(u"|1|Yearly Totals"_s).size(), 1);

        // A second run starts at page 1 again and lays out every item as the first.
        RecordingCanvas again;
        printStatistics(again, report, kPage);
        QCOMPARE(again.items, canvas.items);
    }

    // The disk fails while the change typed is stored first: the counting cannot read the list
    // either, and empty lists are never printed or saved as if they were the counts.
    void countsThatFailAreNeitherPrintedNorSaved() {
        FormFixture f(variedList());
        f.press({"cmdLast"});
        f.enter(u"txtLocation"_s, u"Typed Site"_s);
        FileSizeLimit full(16384);
        f.press({"cmdStatistics"});
        const QStringList failed = f.takeMessages();
        QVERIFY2(failed.size() == 2 && failed[1].startsWith(u"Statistics Form Loading Error|"_s),
                 qPrintable(failed.join(u" / "_s)));
        QVERIFY(!f.enabled(u"cmdSave"_s) && !f.enabled(u"cmdPrint"_s));
        QVERIFY(f.enabled(u"cmdRefresh"_s) && f.enabled(u"cmdClose"_s));
        // Once the disk works again, Refresh counts the list and the counts can be kept.
        full.lift();
        f.click(u"cmdRefresh"_s);
        QCOMPARE(f.takeMessages(), QStringList());
        QCOMPARE(caption(f, u"lblTotal"_s), u"Total Sightings: 240"_s);
        QVERIFY(f.enabled(u"cmdSave"_s) && f.enabled(u"cmdPrint"_s));
    }

    void theWindowCountsPrintsAndSaves() {
        FormFixture f(variedList());
        QList<std::pair<int, bool>> progress;  // value, main form disabled
        auto* bar = f.get<QProgressBar>(u"pbrProgress"_s);
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
            progress.append({value, !f.form()->isEnabled() && f.shown(u"lblProcessing"_s)});
        });
        // The change typed on the main form is stored and counted.
        f.enter(u"txtLocation"_s, u"Typed Site"_s);
        QTest::keyClick(f.focused(), Qt::Key_F2);
        QCOMPARE(f.stored(240, u"Location"_s).toString(), u"Typed Site"_s);

        // Every list against a count of the file: "Unspecified" for the empty values, and for
        // region, month and year only the entries of the form's lists. The year list reaches
        // out to the list's own years, 1969 and 2027.
        const QStringList regions{"Africa",        "Antarctica", "Asia",         "Europe",
                                  "North America", "Oceania",    "South America"};
        const std::pair<const char*, QStringList> lists[] = {{"Order", {}},
                                                             {"Family", {}},
                                                             {"Location", {}},
                                                             {"Country", {}},
                                                             {"Region", regions},
                                                             {"Month", monthNames()},
                                                             {"Year", yearList(2026, 1969, 2027)}};
        for (const auto& [field, entries] : lists) {
            const QString column = quoteIdentifier(QLatin1String(field));
            QSqlQuery query(f.program->gdbBirdList->sql());
            QVERIFY(
                query.exec(u"SELECT CASE WHEN trim(coalesce(%1, ''), ' ') = '' THEN "
                           "'Unspecified' ELSE %1 END AS v, count(*) FROM \"Bird List\" "
                           "GROUP BY v"_s.arg(column)));
            QStringList expected;
            while (query.next()) {
                const QString value = query.value(0).toString();
                if (entries.isEmpty() || entries.contains(value) || value == u"Unspecified") {
                    expected.append(value + u'=' + query.value(1).toString());
                }
            }
            QStringList counted = shown(f.get<StatList>(u"lst"_s + QLatin1String(field))->rows());
            std::sort(expected.begin(), expected.end());
            std::sort(counted.begin(), counted.end());
            QCOMPARE(counted, expected);
        }
        QCOMPARE(caption(f, u"lblOrder"_s), u"5 Orders (No. of Sightings)"_s);
        QCOMPARE(caption(f, u"lblMonth"_s), u"Monthly Totals"_s);
        QCOMPARE(caption(f, u"lblTotal"_s), u"Total Sightings: 240"_s);
        QCOMPARE(
            f.get(u"frmStatistics"_s)->windowTitle(),
            u"Plovix - Lifetime Statistics for  ["_s + datetext::dateTime(f.clock.now()) + u']');

        // Progress from 0 to 100 with the main form disabled, then the form as it was.
        QCOMPARE(progress.last(), std::make_pair(100, true));
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QVERIFY(std::all_of(progress.begin(), progress.end(), [](auto p) { return p.second; }));
        QVERIFY(f.form()->isEnabled() && f.shown(u"lblTitle"_s));
        QVERIFY(!f.shown(u"lblProcessing"_s) && !f.shown(u"pbrProgress"_s));
        QCOMPARE(f.cursor.mousePointer(), int(WaitCursor::Default));

        // The counts printed and saved.
        QTest::mouseDClick(f.get<StatList>(u"lstCountry"_s)->viewport(), Qt::LeftButton);
        QCOMPARE(f.get(u"frmStatistics"_s)->focusWidget(), f.get(u"cmdClose"_s));

        // Cancelling the print dialog prints nothing; a PDF file gets the pages.
        f.dialogs.cancelInput();
        f.click(u"cmdPrint"_s);
        const QString pdf = f.file(u"statistics.pdf"_s);
        f.dialogs.type(pdf);
        f.click(u"cmdPrint"_s);
        QCOMPARE(pdfPages(pdf), 3);
        // A print job that fails asks whether to cancel; No tells why.
        const QString nowhere = f.file(u"no such folder/statistics.pdf"_s);
        f.dialogs.type(nowhere);
        f.dialogs.answer(mb::No);
        f.click(u"cmdPrint"_s);
        QCOMPARE_MESSAGES(
            f, u"Printer Error|Cancel print order?"_s,
            u"Printer Error|The printout could not be written to the file '%1'."_s.arg(nowhere));

        // Saving over a file asks first; No opens the dialog again with the proposed name.
        const QString text = f.file(u"counts"_s);
        QFile(text + u".txt"_s).open(QIODevice::WriteOnly);
        f.dialogs.type(text);
        f.dialogs.answer(mb::No);
        f.dialogs.type(text);
        f.dialogs.answer(mb::Yes);
        f.click(u"cmdSave"_s);
        QCOMPARE(f.dialogs.proposedFiles(),
                 QStringList(2, f.file(u"My Lifetime Statistics.txt"_s)));
        QCOMPARE(f.takeMessages().last(), u"File Saved|[%1.txt] successfully saved."_s.arg(text));
        const QStringList lines = QString::fromUtf8(fileBytes(text + u".txt"_s)).split(u"\r\n"_s);
        QCOMPARE(lines[1], u"Printed "_s + datetext::dateTimeValue(f.clock.now()));
        // The countries in the order the list shows: by count. The longest entry is
        // "Passeriformes " (14 characters), so counts start in column 19.
        const qsizetype countries = lines.indexOf(u" 5 COUNTRIES      Number of Sightings"_s);
        QVERIFY(countries > 0);
        QCOMPARE(lines.mid(countries + 1, 2),
                 (QStringList{u"Peru              90"_s, u"Spain             60"_s}));

        // A sighting deleted from the file is not counted until Refresh.
        QVERIFY(!f.program->gdbBirdList->execute(u"DELETE FROM \"Bird List\" WHERE Number > 1"_s));
        QCOMPARE(caption(f, u"lblTotal"_s), u"Total Sightings: 240"_s);
        f.click(u"cmdRefresh"_s);
        QCOMPARE(shown(f.get<StatList>(u"lstYear"_s)->rows()), QStringList{u"1970=1"_s});
        QVERIFY(f.enabled(u"cmdRefresh"_s) && f.enabled(u"cmdClose"_s));

        // Counting again while the record form searches leaves its search prompt in place.
        f.click(u"cmdSearch"_s);
        f.click(u"cmdRefresh"_s);
        QVERIFY(!f.shown(u"lblTitle"_s) && f.shown(u"lblEnterSearch"_s));
        f.click(u"cmdCancelSearch"_s);

        // With no sightings left the engine's error is told and the main form is usable.
        f.program->gdbBirdList->execute(u"DELETE FROM \"Bird List\""_s);
        f.click(u"cmdRefresh"_s);
        QCOMPARE_MESSAGES(
            f, u"Statistics Form Loading Error|Error Number 3021:\nNo current record."_s);
        QVERIFY(f.form()->isEnabled() && f.get<StatList>(u"lstOrder"_s)->rows().isEmpty());
        QCOMPARE(caption(f, u"lblOrder"_s), u"Orders"_s);
    }
};

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
