#include "FaultRuns.h"

#include "ChildProcess.h"
#include "EBirdDownload.h"
#include "GeneratedLifeList.h"
#include "PowerCut.h"
#include "database/Database.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace {

constexpr int kDownloadRows = 1500;
const QByteArray kPrevious = "An earlier copy of this file, to be replaced whole.\r\n";

QStringList filesUnder(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        names.append(QDir(folder).relativeFilePath(it.next()));
    }
    names.sort();
    return names;
}

bool copyFolder(const QString& from, const QString& to) {
    for (const QString& name : filesUnder(from)) {
        const QString target = to + QLatin1Char('/') + name;
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) ||
            !QFile::copy(from + QLatin1Char('/') + name, target)) {
            return false;
        }
    }
    return true;
}

void giveTo(const QString& folder, uid_t user) {
    ::chown(QFile::encodeName(folder).constData(), user, user);
    for (const QString& name : filesUnder(folder)) {
        const QString path = folder + QLatin1Char('/') + name;
        ::chown(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), user, user);
        ::chown(QFile::encodeName(path).constData(), user, user);
    }
}

QByteArray readAll(const QString& path, bool& exists) {
    QFile file(path);
    exists = file.open(QIODevice::ReadOnly);
    return exists ? file.readAll() : QByteArray();
}

}  // namespace

FaultRuns::FaultRuns(const QString& root, const QString& dataDir, quint32 seed, Figures& figures)
    : m_root(root), m_dataDir(dataDir), m_random(seed), m_figures(figures) {}

bool showedError(const QByteArrayList& lines, const QByteArray& tag) {
    for (const QByteArray& line : lines) {
        if (line.startsWith(tag + ' ')) {
            const QByteArrayList parts = line.mid(tag.size() + 1).split(' ');
            const int style = parts.value(0).toInt();
            const QByteArray title = line.mid(tag.size() + 1).split('|').value(0);
            if ((style & 0x70) == 0x10 || title.contains("Error")) {
                return true;
            }
        }
    }
    return false;
}

bool FaultRuns::setUp(int sightings, QString& failure) {
    const QString pristine = m_root + QStringLiteral("/pristine");
    ::chmod(QFile::encodeName(m_root).constData(), 0755);  // the unprivileged children reach it
    QDir().mkpath(pristine + QStringLiteral("/data"));
    const TrialFiles files{pristine};
    if (DbError error = generated::writeLifeList(pristine + QStringLiteral("/Bird List.mdb"),
                                                 sightings, m_dataDir)) {
        failure = error.description;
        return false;
    }
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    if (!QFile::copy(m_dataDir + QStringLiteral("/species.csv"),
                     pristine + QStringLiteral("/data/species.csv")) ||
        !generated::writeEBirdDownload(files.download(), kDownloadRows, m_dataDir) ||
        !picture.save(files.picture())) {
        failure = QStringLiteral("the files the operations read could not be written");
        return false;
    }
    std::optional<ListState> before =
        readState(pristine + QStringLiteral("/Bird List.mdb"), failure);
    if (!before) {
        return false;
    }
    m_before = *before;
    m_pristineFiles = filesUnder(pristine);
    // The children's runtime folders, one for each user they run as.
    for (const char* user : {"owner", "nobody"}) {
        const QByteArray runtime = QFile::encodeName(m_root) + "/runtime-" + user;
        ::mkdir(runtime.constData(), 0700);
        if (user[0] == 'n' && ::geteuid() == 0) {
            ::chown(runtime.constData(), kUnprivilegedUser, kUnprivilegedUser);
        }
    }
    return true;
}

qint64 FaultRuns::listSize() const {
    return QFileInfo(m_root + QStringLiteral("/pristine/Bird List.mdb")).size();
}

bool FaultRuns::resetTrial(const Operation& operation, bool withPrevious, bool unprivileged) {
    ::chmod(QFile::encodeName(trial()).constData(), 0755);
    QDir(trial()).removeRecursively();
    if (!copyFolder(m_root + QStringLiteral("/pristine"), trial())) {
        return false;
    }
    if (withPrevious && operation.output) {
        QFile file(TrialFiles{trial()}.output(operation.output));
        if (!file.open(QIODevice::WriteOnly) || file.write(kPrevious) != kPrevious.size()) {
            return false;
        }
    }
    if (unprivileged && ::geteuid() == 0) {
        giveTo(trial(), kUnprivilegedUser);
    }
    return true;
}

ChildProcess::Options FaultRuns::childOptions(const Operation& operation, const QString& mode,
                                              qint64 limit, bool unprivileged) const {
    ChildProcess::Options options;
    options.arguments = {QStringLiteral("--child"),  QLatin1String(operation.name),
                         QStringLiteral("--folder"), trial(),
                         QStringLiteral("--mode"),   mode,
                         QStringLiteral("--limit"),  QString::number(limit)};
    options.environment = {"QT_QPA_PLATFORM=offscreen",
                           "XDG_RUNTIME_DIR=" + QFile::encodeName(m_root) + "/runtime-" +
                               (unprivileged ? "nobody" : "owner")};
    options.unprivileged = unprivileged;
    options.errorLog = m_root + QStringLiteral("/children.log");
    return options;
}

QByteArrayList FaultRuns::shimSettings(long call, bool after, const QString& log) {
    QByteArrayList settings{
        "LD_PRELOAD=" + QFile::encodeName(QCoreApplication::applicationDirPath() +
                                          QStringLiteral("/libplovix-killshim.so")),
        "PLOVIX_FAULT_AT=" + QByteArray::number(call),
        after ? "PLOVIX_FAULT_AFTER=1" : "PLOVIX_FAULT_AFTER=0"};
    if (!log.isEmpty()) {
        settings.append("PLOVIX_FAULT_LOG=" + QFile::encodeName(log));
    }
    return settings;
}

const FaultRuns::Done* FaultRuns::done(const Operation& operation) {
    const QString name = QLatin1String(operation.name);
    if (!m_done.contains(name) && (m_failed.contains(name) || !measure(operation))) {
        m_failed.append(name);
        return nullptr;
    }
    return &m_done[name];
}

bool FaultRuns::measure(const Operation& operation) {
    const QString name = QLatin1String(operation.name);
    if (!resetTrial(operation, false, false)) {
        m_figures.fault(name + QStringLiteral(": no program folder for the child"));
        return false;
    }
    ChildProcess::Options options = childOptions(operation, u"plain"_s, -1);
    const QString log = m_root + QStringLiteral("/measure.log");
    QFile::remove(log);
    options.environment += shimSettings(0, false, log);
    ChildProcess child(options);
    Done done;
    QElapsedTimer clock;
    const bool ready = child.readUntil("ready", kStartMs);
    clock.start();
    const bool acted = ready && child.readUntil("acted", kActMs);
    done.ms = double(clock.nsecsElapsed()) / 1e6;
    int exitCode = -1;
    child.wait(exitCode);
    for (const QByteArray& line : child.lines) {
        if (line.startsWith("calls ")) {
            done.calls = line.mid(6).toLong();
        }
    }
    QString problem;
    std::optional<ListState> after = readState(trialList(), problem);
    bool exists = false;
    done.output = operation.output ? readAll(TrialFiles{trial()}.output(operation.output), exists)
                                   : QByteArray();
    if (!acted || exitCode != 0 || showedError(child.lines, "message") || !after ||
        done.calls <= 0 || (operation.output && !exists)) {
        m_figures.fault(name +
                        QStringLiteral(": the operation does not run through when "
                                       "nothing is wrong: ") +
                        QString::fromUtf8(child.lines.join(" / ")) + problem);
        return false;
    }
    std::optional<QList<DiskEvent>> events = readDiskLog(log, problem);
    if (!events) {
        m_figures.fault(name + QStringLiteral(": ") + problem);
        return false;
    }
    if (operation.changesList && *after == m_before) {
        m_figures.fault(name + QStringLiteral(": the operation changes nothing in the list"));
        return false;
    }
    done.syncs = syncCalls(*events);
    done.after = *after;
    m_done.insert(name, done);
    return true;
}

FaultRuns::Judged FaultRuns::judge(const Operation& operation, bool withPrevious, bool childAlive) {
    const Done& done = m_done[QLatin1String(operation.name)];
    Judged judged;
    QStringList problems;
    // While the child still holds the list, a copy of the list and its journal is judged as
    // the program would find it if the child ended now.
    QString list = trialList();
    if (childAlive) {
        const QString snapshot = m_root + QStringLiteral("/snapshot");
        QDir(snapshot).removeRecursively();
        QDir().mkpath(snapshot);
        list = snapshot + QStringLiteral("/Bird List.mdb");
        for (const QString& suffix : {u""_s, u"-journal"_s}) {
            QFile::copy(trialList() + suffix, list + suffix);
        }
    }
    {
        // Opened as the program opens it: a journal left behind is rolled back here.
        DbError error;
        if (!Database::open(list, error)) {
            problems.append(QStringLiteral("the list does not open: ") + error.description);
        }
    }
    if (const QString check = integrityCheck(list); check != u"ok") {
        problems.append(QStringLiteral("integrity check: ") + check.left(200));
    }
    QString problem;
    std::optional<ListState> found = readState(list, problem);
    if (!found) {
        problems.append(QStringLiteral("unreadable: ") + problem);
        judged.lost = int(m_before.sightings().size());
    } else {
        judged.lost = lostSightings(m_before, done.after, *found);
        if (!(*found == m_before) && !(*found == done.after)) {
            problems.append(QStringLiteral("neither before nor after the operation"));
        }
    }
    if (operation.output) {
        bool exists = false;
        const QByteArray bytes = readAll(TrialFiles{trial()}.output(operation.output), exists);
        if (exists ? bytes != done.output && !(withPrevious && bytes == kPrevious) : withPrevious) {
            problems.append(QStringLiteral("the file written is ") +
                            (exists ? QStringLiteral("cut short") : QStringLiteral("gone")));
        }
    }
    if (!childAlive) {
        if (QString left = judgeLeftovers(operation); !left.isEmpty()) {
            problems.append(left);
        }
    }
    judged.intact = problems.isEmpty() && judged.lost == 0;
    judged.problem = problems.join(QStringLiteral("; "));
    return judged;
}

QString FaultRuns::judgeLeftovers(const Operation& operation) {
    QStringList problems;
    for (const QString& name : filesUnder(trial())) {
        if (m_pristineFiles.contains(name) ||
            (operation.output && name == QLatin1String(operation.output)) ||
            name == u"registry.json" || name == u"Bird List.lock" ||
            // A journal that outlives the program's opening is no longer hot: the engine
            // passes it by and writes over it in the next change.
            name == u"Bird List.mdb-journal" ||
            // Scratch copies at fixed names, cleared by the next compact, repair or import.
            name == u"Bird List Temp.mdb" || name == u"Bird List Temp.mdb-journal" ||
            name == u"Old Bird List Backup Temp.mdb") {
            continue;
        }
        // Killed in the instant between the two steps that put a finished file in place (a
        // link under a temporary name, then the rename): the whole new file under that name.
        // Nothing reads it; it must be whole.
        const QString base = name.left(name.size() - 7);
        if (name.size() > 7 && name.at(name.size() - 7) == u'.' &&
            (base == u"registry.json" ||
             (operation.output && base == QLatin1String(operation.output)))) {
            bool exists = false;
            const QByteArray bytes = readAll(trial() + u'/' + name, exists);
            const bool whole = base == u"registry.json"
                                   ? !QJsonDocument::fromJson(bytes).isNull()
                                   : bytes == m_done[QLatin1String(operation.name)].output;
            if (!whole) {
                problems.append(QStringLiteral("a partial file: ") + name);
            }
            continue;
        }
        if (name.startsWith(u"Old Bird List Backup(") && name.endsWith(u").mdb")) {
            QString problem;
            const std::optional<ListState> backup = readState(trial() + u'/' + name, problem);
            if (backup && *backup == m_before) {
                continue;
            }
            problems.append(QStringLiteral("a backup that is not whole: ") + name);
        } else {
            problems.append(QStringLiteral("left behind: ") + name);
        }
    }
    return problems.join(QStringLiteral("; "));
}

void FaultRuns::laterRun(const Operation& operation, const QString& how) {
    // Nothing a killed run left behind trips the next one.
    const QString name = QLatin1String(operation.name);
    ChildProcess child(childOptions(operation, u"plain"_s, -1));
    const bool acted = child.readUntil("acted", kStartMs + kActMs);
    int exitCode = -1;
    child.wait(exitCode);
    const QString check = integrityCheck(trialList());
    if (!acted || exitCode != 0 || showedError(child.lines, "message") || check != u"ok") {
        m_figures.fault(QStringLiteral("%1, %2: the next run fails: %3 %4")
                            .arg(name, how, QString::fromUtf8(child.lines.join(" / ")), check));
    }
}

QString FaultRuns::notDone(const Operation& operation, const QString& list) {
    const Done& done = m_done[QLatin1String(operation.name)];
    QString problem;
    const std::optional<ListState> found = readState(list, problem);
    if (!found) {
        return QStringLiteral("the list cannot be read: ") + problem;
    }
    if (!(*found == done.after)) {
        return QStringLiteral("the list is not as the operation leaves it");
    }
    bool exists = false;
    if (operation.output &&
        readAll(TrialFiles{trial()}.output(operation.output), exists) != done.output) {
        return QStringLiteral("the file is not as the operation writes it");
    }
    return {};
}
