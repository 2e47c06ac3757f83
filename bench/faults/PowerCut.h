#pragma once

#include "DiskLog.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QRandomGenerator>
#include <QString>
#include <optional>

// What a power cut does to the writes made since a file was last synced: all of them lost, a
// seeded choice of them lost, or those up to a chosen one kept and that one torn at a 512-byte
// boundary of the file.
enum class Loss { Dropped, Subset, Torn };
inline constexpr Loss kLosses[] = {Loss::Dropped, Loss::Subset, Loss::Torn};
QString lossName(Loss loss);

// One change to a file as the preloaded library recorded it (see DiskLog.h).
struct DiskEvent {
    disklog::Kind kind{};
    qint64 at = 0;
    qint64 inode = -1;
    qint64 offset = 0;
    qint64 size = 0;
    QString path;
    QString other;
    QByteArray data;
};

// The records of a child's changes, in the order made. A record cut short at the end (the
// child ended inside it) is left out. No list when the file cannot be read or is not a record.
std::optional<QList<DiskEvent>> readDiskLog(const QString& path, QString& problem);

// The counted calls among `events` that sync a file or a folder.
QList<long> syncCalls(const QList<DiskEvent>& events);

// The files of a folder and below as they stood before the child changed them, taken to be on
// the disk: each name with its file's inode, and each file's bytes.
struct FolderImage {
    QString folder;               // absolute, without links
    QMap<QString, qint64> names;  // absolute path to inode
    QHash<qint64, QByteArray> bytes;

    static FolderImage take(const QString& folder);
};

// The files of `base.folder` (names relative to it, with their bytes) as a disk holds them when
// the power fails just before the counted call `call`: a file's writes up to its last sync
// kept, the writes since treated as `loss` says, and a name that was made, moved, linked or
// removed only as its folder stood at the folder's last sync.
QMap<QString, QByteArray> afterPowerCut(const FolderImage& base, const QList<DiskEvent>& events,
                                        long call, Loss loss, QRandomGenerator& random);

// Empties `folder` and writes `files` into it. False when a file cannot be written.
bool writeFolder(const QString& folder, const QMap<QString, QByteArray>& files);
