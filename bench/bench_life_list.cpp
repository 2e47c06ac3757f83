// How long the life-list operations take on a list of every bird species in the world
// (about 11,000 sightings with comments): opening, moving, finding, the record form,
// searching, counting the statistics, the web page and the printed report, renaming in the
// life-list editor, completing a species name from the world checklist, compacting, repairing.
#include "TestPlatform.h"
#include "app/MDatabase.h"
#include "checklist/Checklist.h"
#include "checklist/SpeciesPick.h"
#include "database/CsvReader.h"
#include "database/NewLifeList.h"
#include "editor/BulkEdit.h"
#include "output/ReportPages.h"
#include "output/SightingTable.h"
#include "output/WebPage.h"
#include "platform/TwipCanvas.h"
#include "record_form/FrmMain.h"
#include "record_form/Hints.h"
#include "statistics/StatisticsPass.h"
#include "statistics/StatisticsReport.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

class BenchLifeList : public QObject {
    Q_OBJECT

private:
    TestPlatform m_platform;
    ScriptedDialogs& m_dialogs = m_platform.dialogs;
    Program* m_program = m_platform.program.get();

    QString listPath() const { return m_platform.listPath(); }

private slots:
    void initTestCase() {
        QFile csv(QStringLiteral(PLOVIX_SPECIES_CSV));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QList<QStringList> rows = parseCsv(QString::fromUtf8(csv.readAll()));
        rows.removeFirst();
        QVERIFY(!createNewLifeList(listPath()));
        DbError error;
        auto db = Database::open(listPath(), error);
        QVERIFY(db);
        QSqlDatabase sql = db->sql();
        sql.transaction();
        const QStringList countries = {"Kenya", "Peru", "Côte d'Ivoire", "Australia", "Spain"};
        const QStringList months = {"January", "April", "July", "October"};
        int i = 0;
        for (const QStringList& row : rows) {
            QVERIFY(!db->execute(
                QStringLiteral(
                    "INSERT INTO \"Bird List\" (CommonName, \"Order\", Family, Species, Location, "
                    "Country, Month, Year, Comments) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {row[0], row[2], row[3], row[1], QStringLiteral("Site %1").arg(i % 300),
                 countries[i % countries.size()], months[i % months.size()],
                 QString::number(1980 + i % 45),
                 QStringLiteral("Seen at dawn, %1 birds, good light.").arg(i % 17)}));
            ++i;
        }
        sql.commit();
        qInfo("Life list of %d sightings, %lld bytes", i + 1, QFileInfo(listPath()).size());
        // The checklist beside the program, where the record form reads it.
        QVERIFY(QDir(m_platform.folder()).mkpath(QStringLiteral("data")));
        QVERIFY(QFile::copy(QStringLiteral(PLOVIX_SPECIES_CSV), checklistPath()));
    }

    QString checklistPath() const { return m_platform.file(QStringLiteral("data/species.csv")); }

    void openLifeList() {
        QBENCHMARK {
            QVERIFY(openBirdListDatabase(*m_program));
        }
        QVERIFY(m_program->grsBirdList->recordCount() > 11000);
    }

    void browseEveryRecord() {
        Recordset& rs = *m_program->grsBirdList;
        QBENCHMARK {
            for (DbError e = rs.moveFirst(); !e && !rs.eof(); e = rs.moveNext()) {
            }
        }
    }

    void findEveryWarblerInOneCountry() {
        Recordset& rs = *m_program->grsBirdList;
        const Criteria criteria =
            Criteria::like(QStringLiteral("CommonName"), QStringLiteral("*Warbler*")) &&
            Criteria::equals(QStringLiteral("Country"), QStringLiteral("côte d'ivoire"));
        int found = 0;
        QBENCHMARK {
            found = 0;
            for (rs.findFirst(criteria); !rs.noMatch(); rs.findNext(criteria)) {
                ++found;
            }
        }
        QVERIFY(found > 0);
    }

    // The record form on the whole list: loading it (binding, lookup lists), and stepping from
    // record to record as "Next Record" does (storing, showing, rebuilding the family list).
    void recordFormLoad() {
        QBENCHMARK {
            FrmMain form(*m_program, {});
            QVERIFY(!form.Form_Load());
        }
    }

    void recordFormNextRecord() {
        FrmMain form(*m_program, {});
        QVERIFY(!form.Form_Load());
        auto* first = form.findChild<QAction*>(QStringLiteral("mnuFirst"));
        auto* next = form.findChild<QAction*>(QStringLiteral("mnuNext"));
        QBENCHMARK {
            first->trigger();
            for (int i = 0; i < 1000; ++i) {
                next->trigger();
            }
        }
        QVERIFY(m_dialogs.calls().isEmpty());
    }

    // The world checklist: reading it (once the record form is on the screen), and one
    // keystroke in the Common Name box to the list of names shown under it (typing "winter wren"
    // and taking it back letter by letter, then single letters); then the look-up of a picked
    // species on the life list.
    void checklistLoad() {
        QBENCHMARK {
            QString error;
            QVERIFY(Checklist::load(checklistPath(), error));
        }
    }

    void checklistKeystroke() {
        FrmMain form(*m_program, {});
        QVERIFY(!form.Form_Load());
        form.show();
        QCoreApplication::processEvents();
        auto* box = form.findChild<QLineEdit*>(QStringLiteral("txtCommonName"));
        box->setFocus();
        box->clear();
        QList<qint64> times;
        QElapsedTimer clock;
        const auto key = [&](Qt::Key code) {
            clock.start();
            QTest::keyClick(box, code);
            times.append(clock.nsecsElapsed());
        };
        // A name typed and taken back, and the single letters that match the most names.
        const QStringList typing = {QStringLiteral("winter wren"), QStringLiteral("a"),
                                    QStringLiteral("e"), QStringLiteral("r")};
        QBENCHMARK {
            for (const QString& typed : typing) {
                for (const QChar ch : typed) {
                    key(ch == u' ' ? Qt::Key_Space : Qt::Key(ch.toUpper().unicode()));
                }
                for (qsizetype i = 0; i < typed.size(); ++i) {
                    key(Qt::Key_Backspace);
                }
            }
        }
        std::sort(times.begin(), times.end());
        qInfo("One keystroke to the list shown: median %.2f ms, slowest %.2f ms (%lld keys)",
              times[times.size() / 2] / 1e6, times.last() / 1e6, qlonglong(times.size()));
        QVERIFY(box->text().isEmpty());
    }

    void checklistPickFindsTheSighting() {
        QString error;
        const std::optional<Checklist> checklist = Checklist::load(checklistPath(), error);
        QVERIFY(checklist);
        const qsizetype wren = *checklist->find(Checklist::Names::English, u"Winter Wren"_s);
        qint64 number = 0;
        QBENCHMARK {
            QVERIFY(!sightingOf(*m_program->gdbBirdList, checklist->at(wren), 0, number));
        }
        QVERIFY(number > 0);
    }

    // A search from the record form: every "Warbler" seen in one country, stepped through
    // forwards and backwards, then back to browsing.
    void recordFormSearch() {
        FrmMain form(*m_program, {});
        QVERIFY(!form.Form_Load());
        const auto trigger = [&form](const char* item) {
            form.findChild<QAction*>(QLatin1String(item))->trigger();
        };
        const auto messages = [this] { return m_dialogs.calls().size(); };
        int found = 0;
        QBENCHMARK {
            found = 0;
            trigger("mnuSearchList");
            form.findChild<QLineEdit*>(QStringLiteral("txtCommonName"))
                ->setText(QStringLiteral("Warbler"));
            form.findChild<QComboBox*>(QStringLiteral("cboCountry"))
                ->setEditText(QStringLiteral("Côte d'Ivoire"));
            const qsizetype before = messages();
            for (trigger("mnuFindFirst"); messages() == before; trigger("mnuFindNext")) {
                ++found;
            }
            for (trigger("mnuFindPrevious"); messages() == before + 1; trigger("mnuFindPrevious")) {
            }
            trigger("mnuCancelSearch");
        }
        qInfo("%d matches", found);
        QVERIFY(found > 10);
    }

    void statisticsPassAndTextFile() {
        const FixedLists lists{{}, monthNames(), yearList(2026)};
        StatisticsPass pass;
        QByteArray text;
        QBENCHMARK {
            QVERIFY(!pass.run(*m_program->gdbBirdList, lists, [](int) {}));
            StatisticsReport report;
            for (Category category : {Category::Order, Category::Family, Category::Location,
                                      Category::Country, Category::Month, Category::Year}) {
                report.sections.append(
                    {categorySection(category), pass.table(category).countedRows()});
            }
            text = statisticsText(report, QStringLiteral("Printed"));
        }
        qInfo("%lld bytes of statistics", qsizetype(text.size()));
    }

    void webPage() {
        QByteArray page;
        QBENCHMARK {
            SightingTable table;
            QVERIFY(!SightingTable::read(*m_program->gdbBirdList, webPageOrder(), table));
            page = ::webPage(table, {QStringLiteral("Ann"), QStringLiteral("12/6/26"),
                                     QStringLiteral("Plovix 1.0"), QString()});
        }
        qInfo("%lld bytes of web page", qsizetype(page.size()));
    }

    void reportLaidOutToItsLastPage() {
        ReportLayout layout;
        QVERIFY(!readReportLayout(QStringLiteral(PLOVIX_LAYOUT_FILE), layout));
        // A Letter page within half-inch margins, measured as the printer measures it.
        class Page : public TwipCanvas {
        public:
            double scaleWidth() const override { return 10800; }
            double scaleHeight() const override { return 14400; }

        protected:
            void paintText(QPointF, const QString&) override {}
            void paintLine(QPointF, QPointF) override {}
            void startPage() override {}
            void finish() override {}
        } canvas;
        qsizetype pages = 0;
        QBENCHMARK {
            SightingTable table;
            QVERIFY(!SightingTable::read(*m_program->gdbBirdList, layout.sortOrder(), table));
            pages = layOutReport(layout, table, {}, canvas).size();
        }
        qInfo("%lld pages of report", pages);
    }

    // The life-list editor renaming a country of a fifth of the sightings, there and back.
    void renameCountry() {
        Database& db = *m_program->gdbBirdList;
        QBENCHMARK {
            QVERIFY(!bulk::rename(db, bulk::Field::Country, QStringLiteral("Peru"),
                                  QStringLiteral("Perú")));
            QVERIFY(!bulk::rename(db, bulk::Field::Country, QStringLiteral("Perú"),
                                  QStringLiteral("Peru")));
        }
    }

    void compact() {
        m_program->closeBirdList();
        QBENCHMARK {
            QVERIFY(compactBirdList(*m_program, Program::birdListName()));
        }
    }

    void repair() {
        QBENCHMARK_ONCE {
            QVERIFY(repairBirdList(*m_program, Program::birdListName()));
        }
    }
};

QTEST_MAIN(BenchLifeList)
#include "bench_life_list.moc"
