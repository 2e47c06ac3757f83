#include "PowerCut.h"

#include <sys/stat.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 kSector = 512;

QString parentOf(const QString& path) {
    return path.left(std::max<qsizetype>(0, path.lastIndexOf(u'/')));
}

bool under(const QString& folder, const QString& path) {
    return path.startsWith(folder + u'/');
}

void apply(QByteArray& bytes, const DiskEvent& event, qint64 kept) {
    if (event.kind == disklog::Kind::Truncate) {
        const qint64 old = bytes.size();
        bytes.resize(event.size);
        if (event.size > old) {
            std::memset(bytes.data() + old, 0, size_t(event.size - old));
        }
        return;
    }
    if (kept <= 0) {
        return;
    }
    const qint64 end = event.offset + kept;
    if (end > bytes.size()) {
        const qint64 old = bytes.size();
        bytes.resize(end);
        std::memset(bytes.data() + old, 0, size_t(end - old));
    }
    std::memcpy(bytes.data() + event.offset, event.data.constData(), size_t(kept));
}

void apply(QByteArray& bytes, const DiskEvent& event) {
    apply(bytes, event, event.data.size());
}

// A file as the model follows it: what is on the disk, and the changes since its last sync.
struct File {
    QByteArray durable;
    QList<const DiskEvent*> pending;
};

QByteArray afterLoss(const File& file, Loss loss, QRandomGenerator& random) {
    QByteArray bytes = file.durable;
    if (file.pending.isEmpty()) {
        return bytes;
    }
    switch (loss) {
        case Loss::Dropped:
            break;
        case Loss::Subset:
            for (const DiskEvent* event : file.pending) {
                if (random.bounded(2) == 1) {
                    apply(bytes, *event);
                }
            }
            break;
        case Loss::Torn: {
            const qsizetype torn = qsizetype(random.bounded(quint32(file.pending.size())));
            for (qsizetype i = 0; i < torn; ++i) {
                apply(bytes, *file.pending[i]);
            }
            const DiskEvent& event = *file.pending[torn];
            // The sectors the write reached before the power failed: none, or up to one of
            // the sector boundaries inside it.
            const qint64 first = (event.offset + kSector - 1) / kSector * kSector;
            const qint64 end = event.offset + event.data.size();
            const qint64 boundaries = end > first ? (end - first - 1) / kSector + 1 : 0;
            const qint64 chosen = qint64(random.bounded(quint32(boundaries + 1)));
            apply(bytes, event, chosen == 0 ? 0 : first + (chosen - 1) * kSector - event.offset);
            break;
        }
    }
    return bytes;
}

}  // namespace

QString lossName(Loss loss) {
    switch (loss) {
        case Loss::Dropped:
            return QStringLiteral("unsynced writes lost");
        case Loss::Subset:
            return QStringLiteral("some unsynced writes lost");
        case Loss::Torn:
            return QStringLiteral("a write torn");
    }
    return {};
}

std::optional<QList<DiskEvent>> readDiskLog(const QString& path, QString& problem) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("no record of the changes: ") + file.errorString();
        return std::nullopt;
    }
    const QByteArray all = file.readAll();
    QList<DiskEvent> events;
    qsizetype at = 0;
    while (all.size() - at >= qsizetype(sizeof(disklog::Header))) {
        disklog::Header header;
        std::memcpy(&header, all.constData() + at, sizeof header);
        if (header.magic != disklog::kMagic) {
            problem = QStringLiteral("the record of the changes is damaged at byte %1").arg(at);
            return std::nullopt;
        }
        const qint64 data = header.kind == int(disklog::Kind::Write) ? header.size : 0;
        const qint64 size = qint64(sizeof header) + header.pathSize + header.otherSize + data;
        if (all.size() - at < size) {
            break;
        }
        const char* text = all.constData() + at + sizeof header;
        DiskEvent event;
        event.kind = disklog::Kind(header.kind);
        event.at = header.at;
        event.inode = header.inode;
        event.offset = header.offset;
        event.size = header.size;
        event.path = QDir::cleanPath(QFile::decodeName(QByteArray(text, header.pathSize)));
        event.other = QDir::cleanPath(
            QFile::decodeName(QByteArray(text + header.pathSize, header.otherSize)));
        event.data = QByteArray(text + header.pathSize + header.otherSize, data);
        events.append(event);
        at += size;
    }
    return events;
}

QList<long> syncCalls(const QList<DiskEvent>& events) {
    QList<long> calls;
    for (const DiskEvent& event : events) {
        if ((event.kind == disklog::Kind::Sync || event.kind == disklog::Kind::SyncFolder) &&
            event.at % 2 == 0 && !calls.contains(long(event.at / 2))) {
            calls.append(long(event.at / 2));
        }
    }
    return calls;
}

FolderImage FolderImage::take(const QString& folder) {
    FolderImage image;
    image.folder = QFileInfo(folder).canonicalFilePath();
    QDirIterator it(image.folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat status {};
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
            continue;
        }
        image.names.insert(path, qint64(status.st_ino));
        QFile file(path);
        if (!image.bytes.contains(qint64(status.st_ino)) && file.open(QIODevice::ReadOnly)) {
            image.bytes.insert(qint64(status.st_ino), file.readAll());
        }
    }
    return image;
}

QMap<QString, QByteArray> afterPowerCut(const FolderImage& base, const QList<DiskEvent>& events,
                                        long call, Loss loss, QRandomGenerator& random) {
    // Files are told apart by the model's own numbers: an inode freed by a deletion may be
    // given to a new file while the disk still holds the old one under its old name.
    QList<File> files;
    QHash<qint64, qsizetype> live;  // inode to the file that has it now
    QMap<QString, qsizetype> current;
    const auto newFile = [&](qint64 inode) {
        files.append(File{});
        live.insert(inode, files.size() - 1);
        return files.size() - 1;
    };
    for (auto it = base.names.cbegin(); it != base.names.cend(); ++it) {
        if (!live.contains(it.value())) {
            files[newFile(it.value())].durable = base.bytes.value(it.value());
        }
        current.insert(it.key(), live.value(it.value()));
    }
    QMap<QString, qsizetype> durable = current;
    const qint64 end = 2LL * call;
    for (const DiskEvent& event : events) {
        if (event.at >= end) {
            break;
        }
        const auto found = live.constFind(event.inode);
        File* file = found == live.cend() ? nullptr : &files[found.value()];
        switch (event.kind) {
            case disklog::Kind::Write:
            case disklog::Kind::Truncate:
                if (file) {
                    file->pending.append(&event);
                }
                break;
            case disklog::Kind::Sync:
                if (file) {
                    for (const DiskEvent* change : std::as_const(file->pending)) {
                        apply(file->durable, *change);
                    }
                    file->pending.clear();
                }
                break;
            case disklog::Kind::SyncFolder:
                for (auto it = durable.begin(); it != durable.end();) {
                    it = parentOf(it.key()) == event.path ? durable.erase(it) : std::next(it);
                }
                for (auto it = current.cbegin(); it != current.cend(); ++it) {
                    if (parentOf(it.key()) == event.path) {
                        durable.insert(it.key(), it.value());
                    }
                }
                break;
            case disklog::Kind::Create:
                current.insert(event.path, newFile(event.inode));
                break;
            case disklog::Kind::Unnamed:
                newFile(event.inode);
                break;
            case disklog::Kind::Rename:
                current.insert(event.path, current.contains(event.other)
                                               ? current.take(event.other)
                                               : (file ? found.value() : newFile(event.inode)));
                break;
            case disklog::Kind::Link:
                current.insert(event.path, file ? found.value() : newFile(event.inode));
                break;
            case disklog::Kind::Unlink:
                current.remove(event.path);
                break;
        }
    }
    QHash<qsizetype, QByteArray> after;  // each file's bytes worked out once, for all its names
    QMap<QString, QByteArray> result;
    for (auto it = durable.cbegin(); it != durable.cend(); ++it) {
        if (!under(base.folder, it.key())) {
            continue;
        }
        if (!after.contains(it.value())) {
            after.insert(it.value(), afterLoss(files[it.value()], loss, random));
        }
        result.insert(it.key().mid(base.folder.size() + 1), after.value(it.value()));
    }
    return result;
}

bool writeFolder(const QString& folder, const QMap<QString, QByteArray>& files) {
    QDir(folder).removeRecursively();
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = folder + u'/' + it.key();
        QFile file(path);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
            file.write(it.value()) != it.value().size()) {
            return false;
        }
    }
    return QDir().mkpath(folder);
}
