#include "Measures.h"

#include "GeneratedLifeList.h"
#include "ResidentMemory.h"
#include "TestPlatform.h"
#include "services/MDatabase.h"
#include "database/BulkEdit.h"
#include "output/ReportPages.h"
#include "output/SightingTable.h"
#include "platform/TwipCanvas.h"
#include "record_form/Commands.h"
#include "record_form/FrmMain.h"
#include "statistics_form/FrmStatistics.h"

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

    // Every measure once per round, so that a spell in which the machine is slow falls on
    // one run of each measure rather than on every run of one. The baseline is taken before
    // every measure, so that it sees the machine as the measures do.
    bool run(SizeResult& result, QString& failure) {
        m_failure = &failure;
        if (!openForm()) {
            return fail(u"the life list did not open"_s);
        }
        result.sightings = m_program.grsBirdList->recordCount();
        result.fileBytes = QFileInfo(m_platform.listPath()).size();
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
        QList<double> baselines;
        QMap<QString, QList<double>> times;
        for (int round = 0; round < m_runs; ++round) {
            for (const auto& [key, measure] : measures) {
                if (m_program.gdbBirdList) {
                    baselines.append(timed([this] { baseline(); }));
                }
                times[QLatin1String(key)].append(measure());
                if (!failure.isEmpty()) {
                    failure = QLatin1String(key) + u": "_s + failure;
                    return false;
                }
            }
        }
        for (auto it = times.cbegin(); it != times.cend(); ++it) {
            result.ms[it.key()] = median(it.value());
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

    static double timed(const std::function<void()>& work) {
        QElapsedTimer clock;
        clock.start();
        work();
        return msSince(clock);
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

    // Each measure below is one run, in ms.

    double startup() {
        m_form.reset();
        m_program.closeBirdList();
        const double ms = timed([this] {
            if (!openForm()) {
                fail(u"the life list did not open"_s);
            }
        });
        QCoreApplication::processEvents();  // the checklist, read after the form is up
        return ms;
    }

    double nextStep() {
        const int steps = std::min(1000, m_program.grsBirdList->recordCount() - 1);
        give(Cmd::First);
        const double ms = timed([this, steps] {
            for (int i = 0; i < steps; ++i) {
                give(Cmd::Next);
            }
        });
        if (m_program.grsBirdList->absolutePosition() != steps) {
            fail(u"the steps did not reach record %1"_s.arg(steps + 1));
        }
        return ms / steps;
    }

    // From the first record, a target no sighting holds: every later record is looked at.
    double findNext() {
        give(Cmd::First);
        give(Cmd::SearchList);
        m_form->findChild<QLineEdit*>(u"txtCommonName"_s)->setText(u"Qqzx"_s);
        const double ms = timed([this] { give(Cmd::FindNext); });
        expectMessages(1, "no match");
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
        const double ms = timed([this] { give(Cmd::Statistics); });
        if (!statisticsWindow()) {
            fail(u"no statistics window"_s);
        }
        closeStatistics();
        return ms;
    }

    // Saving the counted lists, into a file that is not there yet.
    double statisticsFile() {
        give(Cmd::Statistics);
        const QString path = m_platform.file(u"My Lifetime Statistics.txt"_s);
        QFile::remove(path);
        m_platform.dialogs.type(path);
        const double ms =
            timed([this] { statisticsWindow()->findChild<QPushButton*>(u"cmdSave"_s)->click(); });
        expectMessages(1, "statistics saved");
        closeStatistics();
        if (QFileInfo(path).size() == 0) {
            fail(u"no statistics file"_s);
        }
        return ms;
    }

    double webPage() {
        const QString path = m_platform.file(u"My Life List.html"_s);
        QFile::remove(path);
        m_platform.dialogs.type(path);
        m_platform.dialogs.answer(mb::No);  // not opened in the browser
        const double ms = timed([this] { give(Cmd::SaveCopyHtml); });
        expectMessages(1, "web page saved");
        if (QFileInfo(path).size() < m_program.grsBirdList->recordCount() * 20) {
            fail(u"the web page is too short"_s);
        }
        return ms;
    }

    double report() {
        qsizetype pages = 0;
        const double ms = timed([&] {
            ReportLayout layout;
            SightingTable table;
            if (readReportLayout(m_layoutFile, layout) ||
                SightingTable::read(*m_program.gdbBirdList, layout.sortOrder(), table,
                                    layout.fieldsRead(), layout.groups.size())) {
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

    // The country of a tenth of the sightings renamed, and back again the next time.
    double rename() {
        const QString name = QLatin1String(generated::kTenthCountry);
        const QString accented = u"Perú"_s;
        m_renamed = !m_renamed;
        return timed([&] {
            if (bulk::rename(*m_program.gdbBirdList, bulk::Field::Country,
                             m_renamed ? name : accented, m_renamed ? accented : name)) {
                fail(u"the rename failed"_s);
            }
        });
    }

    // Typing a name into Common Name of a new record and taking it back, letter by letter: the
    // median time from a key to the list of names shown under the box.
    double keystroke() {
        auto* box = m_form->findChild<QLineEdit*>(u"txtCommonName"_s);
        give(Cmd::Add);
        box->setFocus();
        QList<double> keys;
        const QString typed = u"winter wren"_s;
        for (int i = 0; i < 2 * typed.size(); ++i) {
            const QChar ch = typed[std::min(i, int(typed.size()) - 1)];
            const Qt::Key key = i >= typed.size() ? Qt::Key_Backspace
                                : ch == u' '      ? Qt::Key_Space
                                                  : Qt::Key(ch.toUpper().unicode());
            keys.append(timed([box, key] { QTest::keyClick(box, key); }));
        }
        QTest::keyClick(box, Qt::Key_Escape);
        if (!box->text().isEmpty()) {
            fail(u"typing left \"%1\""_s.arg(box->text()));
        }
        give(Cmd::Cancel);
        return median(keys);
    }

    double compact() {
        m_form.reset();
        m_program.closeBirdList();
        m_platform.takeMessages();
        return timed([this] {
            if (!compactBirdList(m_program, Program::birdListName())) {
                fail(u"compacting failed"_s);
            }
        });
    }

    // Each repair keeps a backup; it is removed, so that every run numbers its backup alike.
    double repair() {
        const double ms = timed([this] {
            if (!repairBirdList(m_program, Program::birdListName())) {
                fail(u"repairing failed"_s);
            }
        });
        for (const QString& name : m_platform.files()) {
            if (name.startsWith(u"Old Bird List Backup"_s)) {
                QFile::remove(m_platform.file(name));
            }
        }
        m_platform.takeMessages();
        return ms;
    }

    TestPlatform m_platform;
    Program& m_program = *m_platform.program;
    QString m_layoutFile;
    int m_runs;
    std::unique_ptr<FrmMain> m_form;
    QString* m_failure = nullptr;
    bool m_renamed = false;  // Peru is Perú now
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
