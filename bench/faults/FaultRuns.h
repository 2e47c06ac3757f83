#pragma once

#include "Figures.h"
#include "ListState.h"
#include "Operations.h"

#include <QByteArray>
#include <QMap>
#include <QRandomGenerator>
#include <QString>

// The runs of every operation in a child that is killed, or that meets a full disk or a
// read-only file or folder, each on a fresh copy of one generated life list in the same
// program folder, judged by the parent from the files left.
class FaultRuns {
public:
    FaultRuns(const QString& root, const QString& dataDir, quint32 seed, Figures& figures);

    // Writes the life list of `sightings` sightings and the files the operations read.
    bool setUp(int sightings, QString& failure);
    // The operation done once to the end: what the list and its file look like afterwards,
    // how many calls that change files it makes and how long it takes. False when it failed.
    bool measure(const Operation& operation);
    // `kills` runs killed at random: half at a random moment, half at a random call.
    void kill(const Operation& operation, int kills);
    // The operation under a file-size limit of each of `limits` bytes, and with the folder,
    // then the file, read-only: a clear message, nothing lost, and success once lifted.
    void limit(const Operation& operation, const QList<qint64>& limits);

    qint64 listSize() const;

private:
    struct Done {
        ListState after;
        QByteArray output;
        long calls = 0;
        double ms = 0;
    };
    struct Judged {
        bool intact = false;
        int lost = 0;
        QString problem;
    };
    QString trial() const { return m_root + QStringLiteral("/trial"); }
    QString trialList() const { return trial() + QStringLiteral("/Bird List.mdb"); }
    bool resetTrial(const Operation& operation, bool withPrevious, bool unprivileged);
    Judged judge(const Operation& operation, bool withPrevious, bool childAlive = false);
    QString judgeLeftovers(const Operation& operation);
    // The operation once more on what a kill left, to its end.
    void laterRun(const Operation& operation, const QString& how);
    // How the list at `list` or the trial's file differ from what the operation leaves; empty
    // when they do not.
    QString notDone(const Operation& operation, const QString& list);
    void limitOnce(const Operation& operation, const QString& mode, qint64 bytes);

    QString m_root;
    QString m_dataDir;
    QRandomGenerator m_random;
    Figures& m_figures;
    ListState m_before;
    QStringList m_pristineFiles;
    QMap<QString, Done> m_done;
};
