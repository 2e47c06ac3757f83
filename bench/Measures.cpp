#include "Measures.h"

#include "GeneratedLifeList.h"
#include "ResidentMemory.h"
#include "TestPlatform.h"
#include "app/MDatabase.h"
#include "editor/BulkEdit.h"
#include "output/ReportPages.h"
#include "output/SightingTable.h"
#include "platform/TwipCanvas.h"
#include "record_form/Commands.h"
#include "record_form/FrmMain.h"
#include "statistics/FrmStatistics.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double msSince(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

// A canvas of the layout's printable area that measures texts as the printer does and draws
// nothing: the report laid out, not printed.
class MeasuringPage : public TwipCanvas {
public:
    explicit MeasuringPage(const ReportLayout& layout) {
        const QSizeF paper = layout.landscape ? layout.paper.transposed() : layout.paper;
        m_size = {paper.width() - layout.margins.left() - layout.margins.right(),
                  paper.height() - layout.margins.top() - layout.margins.bottom()};
    }
    double scaleWidth() const override { return m_size.width(); }
    double scaleHeight() const override { return m_size.height(); }

protected:
    void paintText(QPointF, const QString&) override {}
    void paintLine(QPointF, QPointF) override {}
    void startPage() override {}
    void finish() override {}

private:
    QSizeF m_size;
};

// The program on one life list, with its record form, measured measure by measure.
class LifeListBench {
public:
    LifeListBench(const QString& folder, const QString& layoutFile, int runs)
        : m_platform(folder), m_layoutFile(layoutFile), m_runs(runs) {}

    ~LifeListBench() { m_form.reset(); }

    bool run(SizeResult& result, QString& failure) {
        m_failure = &failure;
        if (!openForm()) {
            return fail(u"the life list did not open"_s);
        }
        result.sightings = m_program.grsBirdList->recordCount();
        result.fileBytes = QFileInfo(m_platform.listPath()).size();
        // The baseline is taken before every measure too, so that it sees the machine as the
        // measures do.
        QList<double> baselines;
        const auto takeBaseline = [&] {
            QElapsedTimer clock;
            clock.start();
            baseline();
            baselines.append(msSince(clock));
        };
        for (int i = 0; i < m_runs; ++i) {
            takeBaseline();
        }
        const QList<std::pair<const char*, std::function<double()>>> measures = {
            {"startup", [this] { return startup(); }},
            {"next_step", [this] { return nextStep(); }},
            {"find_next", [this] { return findNext(); }},
            {"statistics", [this] { return statistics(); }},
            {"statistics_file", [this] { return statisticsFile(); }},
            {"web_page", [this] { return webPage(); }},
            {"report", [this] { return report(); }},
            {"editor_rename", [this] { return rename(); }},
            {"checklist_keystroke", [this] { return keystroke(); }},
            {"compact", [this] { return compact(); }},
            {"repair", [this] { return repair(); }},
        };
        for (const auto& [key, measure] : measures) {
            if (m_program.gdbBirdList) {
                takeBaseline();
            }
            result.ms[QLatin1String(key)] = measure();
            if (!failure.isEmpty()) {
                failure = QLatin1String(key) + u": "_s + failure;
                return false;
            }
        }
        result.baselineMs = median(baselines);
        return true;
    }

private:
    bool fail(const QString& what) {
        if (m_failure->isEmpty()) {
            *m_failure = what;
        }
        return false;
    }

    // The median of the runs of `timed`, each returning its own time in ms.
    double medianRun(const std::function<double()>& timed) {
        QList<double> times;
        for (int i = 0; i < m_runs && m_failure->isEmpty(); ++i) {
            times.append(timed());
        }
        return median(times);
    }
    // The median time of the runs of `work`.
    double repeat(const std::function<void()>& work) {
        return medianRun([&work] {
            QElapsedTimer clock;
            clock.start();
            work();
            return msSince(clock);
        });
    }

    QAction* action(Cmd id) const {
        return m_form->findChild<QAction*>(QLatin1String(command(id).item));
    }
    void give(Cmd id) {
        QAction* item = action(id);
        if (!item->isEnabled()) {
            fail(QStringLiteral("%1 is disabled").arg(QLatin1String(command(id).item)));
            return;
        }
        item->trigger();
    }
    // Message boxes shown since the last look, which must be the ones expected.
    void expectMessages(qsizetype count, const char* what) {
        const QStringList shown = m_platform.takeMessages();
        if (shown.size() != count) {
            fail(QStringLiteral("%1: %2").arg(QLatin1String(what), shown.join(u" / ")));
        }
    }

    // Opens the life list and shows the record form on its last record; the checklist is read
    // once the form is up, as at start-up.
    bool openForm() {
        m_form.reset();
        if (!m_program.gdbBirdList && !openBirdListDatabase(m_program)) {
            return false;
        }
        m_form = std::make_unique<FrmMain>(m_program, [] {});
        if (m_form->Form_Load()) {
            return false;
        }
        m_form->show();
        return true;
    }

    // Every column of every row with one statement: the least a pass over the list can cost.
    void baseline() {
        QSqlQuery query(m_program.gdbBirdList->sql());
        query.setForwardOnly(true);
        query.exec(QStringLiteral("SELECT * FROM \"Bird List\""));
        const int columns = query.record().count();
        qsizetype characters = 0;
        while (query.next()) {
            for (int c = 0; c < columns; ++c) {
                characters += query.value(c).toString().size();
            }
        }
        if (characters == 0) {
            fail(u"the baseline read nothing"_s);
        }
    }

    double startup() {
        return medianRun([this] {
            m_form.reset();
            m_program.closeBirdList();
            QElapsedTimer clock;
            clock.start();
            if (!openForm()) {
                fail(u"the life list did not open"_s);
            }
            const double ms = msSince(clock);
            QCoreApplication::processEvents();  // the checklist, read after the form is up
            return ms;
        });
    }

    double nextStep() {
        const int steps = std::min(1000, m_program.grsBirdList->recordCount() - 1);
        return medianRun([this, steps] {
            give(Cmd::First);
            QElapsedTimer clock;
            clock.start();
            for (int i = 0; i < steps; ++i) {
                give(Cmd::Next);
            }
            const double ms = msSince(clock) / steps;
            if (m_program.grsBirdList->absolutePosition() != steps) {
                fail(u"the steps did not reach record %1"_s.arg(steps + 1));
            }
            return ms;
        });
    }

    // From the first record, a target no sighting holds: every later record is looked at.
    double findNext() {
        give(Cmd::First);
        give(Cmd::SearchList);
        m_form->findChild<QLineEdit*>(u"txtCommonName"_s)->setText(u"Qqzx"_s);
        const double ms = repeat([this] {
            give(Cmd::FindNext);
            expectMessages(1, "no match");
        });
        give(Cmd::CancelSearch);
        return ms;
    }

    FrmStatistics* statisticsWindow() const { return m_form->findChild<FrmStatistics*>(); }
    void closeStatistics() {
        if (FrmStatistics* window = statisticsWindow()) {
            window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    double statistics() {
        return medianRun([this] {
            QElapsedTimer clock;
            clock.start();
            give(Cmd::Statistics);
            const double ms = msSince(clock);
            if (!statisticsWindow()) {
                fail(u"no statistics window"_s);
            }
            closeStatistics();
            return ms;
        });
    }

    // Saving the counted lists; the file is replaced each time.
    double statisticsFile() {
        give(Cmd::Statistics);
        const QString path = m_platform.file(u"My Lifetime Statistics.txt"_s);
        const double ms = medianRun([&] {
            QFile::remove(path);
            m_platform.dialogs.type(path);
            QElapsedTimer clock;
            clock.start();
            statisticsWindow()->findChild<QPushButton*>(u"cmdSave"_s)->click();
            const double ms = msSince(clock);
            expectMessages(1, "statistics saved");
            return ms;
        });
        closeStatistics();
        if (QFileInfo(path).size() == 0) {
            fail(u"no statistics file"_s);
        }
        return ms;
    }

    double webPage() {
        const QString path = m_platform.file(u"My Life List.html"_s);
        const double ms = medianRun([&] {
            QFile::remove(path);
            m_platform.dialogs.type(path);
            m_platform.dialogs.answer(mb::No);  // not opened in the browser
            QElapsedTimer clock;
            clock.start();
            give(Cmd::SaveCopyHtml);
            const double ms = msSince(clock);
            expectMessages(1, "web page saved");
            return ms;
        });
        if (QFileInfo(path).size() < m_program.grsBirdList->recordCount() * 20) {
            fail(u"the web page is too short"_s);
        }
        return ms;
    }

    double report() {
        qsizetype pages = 0;
        const double ms = repeat([&] {
            ReportLayout layout;
            SightingTable table;
            if (readReportLayout(m_layoutFile, layout) ||
                SightingTable::read(*m_program.gdbBirdList, layout.sortOrder(), table)) {
                fail(u"the layout or the list could not be read"_s);
                return;
            }
            MeasuringPage page(layout);
            pages = layOutReport(layout, table, {}, page).size();
        });
        if (pages < m_program.grsBirdList->recordCount() / 100) {
            fail(u"%1 pages"_s.arg(pages));
        }
        return ms;
    }

    // The country of a tenth of the sightings renamed, and back again: each is one run.
    double rename() {
        Database& db = *m_program.gdbBirdList;
        const QString name = QLatin1String(generated::kTenthCountry);
        const QString accented = u"Perú"_s;
        bool there = false;
        const double ms = repeat([&] {
            there = !there;
            if (bulk::rename(db, bulk::Field::Country, there ? name : accented,
                             there ? accented : name)) {
                fail(u"the rename failed"_s);
            }
        });
        if (there) {
            bulk::rename(db, bulk::Field::Country, accented, name);
        }
        return ms;
    }

    // Typing a name into Common Name of a new record and taking it back, letter by letter: the
    // time from a key to the list of names shown under the box.
    double keystroke() {
        auto* box = m_form->findChild<QLineEdit*>(u"txtCommonName"_s);
        give(Cmd::Add);
        box->setFocus();
        QList<double> keys;
        for (int run = 0; run < m_runs; ++run) {
            const QString typed = u"winter wren"_s;
            for (int i = 0; i < 2 * typed.size(); ++i) {
                const QChar ch = typed[std::min(i, int(typed.size()) - 1)];
                const Qt::Key key = i >= typed.size() ? Qt::Key_Backspace
                                    : ch == u' '      ? Qt::Key_Space
                                                      : Qt::Key(ch.toUpper().unicode());
                QElapsedTimer clock;
                clock.start();
                QTest::keyClick(box, key);
                keys.append(msSince(clock));
            }
        }
        QTest::keyClick(box, Qt::Key_Escape);
        if (!box->text().isEmpty()) {
            fail(u"typing left \"%1\""_s.arg(box->text()));
        }
        give(Cmd::Cancel);
        return median(keys);
    }

    void closeList() {
        m_form.reset();
        m_program.closeBirdList();
        m_platform.takeMessages();
    }

    double compact() {
        closeList();
        return repeat([this] {
            if (!compactBirdList(m_program, Program::birdListName())) {
                fail(u"compacting failed"_s);
            }
        });
    }

    // Each repair keeps a backup; they are removed between runs so that every run numbers
    // its backup alike.
    double repair() {
        const auto removeBackups = [this] {
            for (const QString& name : m_platform.files()) {
                if (name.startsWith(u"Old Bird List Backup"_s)) {
                    QFile::remove(m_platform.file(name));
                }
            }
        };
        const double ms = medianRun([&] {
            removeBackups();
            QElapsedTimer clock;
            clock.start();
            if (!repairBirdList(m_program, Program::birdListName())) {
                fail(u"repairing failed"_s);
            }
            return msSince(clock);
        });
        removeBackups();
        return ms;
    }

    TestPlatform m_platform;
    Program& m_program = *m_platform.program;
    QString m_layoutFile;
    int m_runs;
    std::unique_ptr<FrmMain> m_form;
    QString* m_failure = nullptr;
};

}  // namespace

SizeResult measureLifeList(const QString& folder, const QString& layoutFile, int runs,
                           QString& failure) {
    SizeResult result;
    {
        LifeListBench bench(folder, layoutFile, runs);
        bench.run(result, failure);
    }
    return result;
}
