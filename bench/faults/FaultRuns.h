#pragma once

#include "ChildProcess.h"
#include "Figures.h"
#include "ListState.h"
#include "Operations.h"

#include <QByteArray>
#include <QMap>
#include <QRandomGenerator>
#include <QString>

// The bench on which every operation is tried in a child: a generated life list, the files the
// operations read, a fresh copy of them for each run in the same program folder, and the
// judgement of what a run left there. KillRuns, LimitRuns and PowerRuns use it.
class FaultRuns {
public:
    FaultRuns(const QString& root, const QString& dataDir, quint32 seed, Figures& figures);

    // What the operation does when it runs to its end.
    struct Done {
        ListState after;
        QByteArray output;
        long calls = 0;     // the calls that change files
        QList<long> syncs;  // those of them that sync a file or folder
        double ms = 0;
    };
    struct Judged {
        bool intact = false;
        int lost = 0;
        QString problem;
    };

    // Writes the life list of `sightings` sightings and the files the operations read.
    bool setUp(int sightings, QString& failure);
    // The operation done once to the end (measured the first time it is asked for). None when
    // it failed, which is told as a fault.
    const Done* done(const Operation& operation);
    qint64 listSize() const;

    QString trial() const { return m_root + QStringLiteral("/trial"); }
    QString trialList() const { return trial() + QStringLiteral("/Bird List.mdb"); }
    // A fresh copy of the pristine program folder, with an earlier copy of the operation's
    // file when `withPrevious`, given to the unprivileged user when `unprivileged`.
    bool resetTrial(const Operation& operation, bool withPrevious, bool unprivileged);
    // The list and files left in the trial folder against the list before and after the
    // operation. With `childAlive`, a copy of the list as a crash now would leave it.
    Judged judge(const Operation& operation, bool withPrevious, bool childAlive = false);
    // How the list at `list` or the trial's file differ from what the operation leaves; empty
    // when they do not.
    QString notDone(const Operation& operation, const QString& list);
    // The operation once more on what a run left, to its end.
    void laterRun(const Operation& operation, const QString& how);

    // How a child is started for `operation` in the trial folder.
    ChildProcess::Options childOptions(const Operation& operation, const QString& mode,
                                       qint64 limit, bool unprivileged = false) const;
    // The settings that preload the counting library, stopping at `call` (0: never) before it
    // or after it, and keeping a record of the changes in `log` when one is named.
    static QByteArrayList shimSettings(long call, bool after, const QString& log = {});

    QString root() const { return m_root; }
    QRandomGenerator& random() { return m_random; }
    Figures& figures() { return m_figures; }

private:
    bool measure(const Operation& operation);
    QString judgeLeftovers(const Operation& operation);

    QString m_root;
    QString m_dataDir;
    QRandomGenerator m_random;
    Figures& m_figures;
    ListState m_before;
    QStringList m_pristineFiles;
    QMap<QString, Done> m_done;
    QStringList m_failed;
};

// Whether a child's report holds a message box that tells of a failure: a critical icon, or
// "Error" in its title. `tag` is "message" for the operation and "retry" for the second try.
bool showedError(const QByteArrayList& lines, const QByteArray& tag);

inline constexpr int kStartMs = 120'000;  // a child's start, on a busy machine
inline constexpr int kActMs = 600'000;    // the longest operation
