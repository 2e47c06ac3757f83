#include "database/FileOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace fileops {

namespace {

DbError systemError(const QString& what, const QString& path, int code) {
    return {
        PathFileAccessError,
        QStringLiteral("%1 '%2': %3").arg(what, path, QString::fromLocal8Bit(std::strerror(code)))};
}

// Flushes the folder entry, so that a rename or a new file survives a crash.
void syncFolder(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool exists(const QString& path) {
    return QFileInfo::exists(path);
}

DbError removeFile(const QString& path) {
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT) {
        return systemError(QStringLiteral("Cannot delete"), path, errno);
    }
    return {};
}

DbError syncFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) {
        return systemError(QStringLiteral("Cannot open"), path, errno);
    }
    const int result = ::fsync(fd);
    const int code = errno;
    ::close(fd);
    if (result != 0) {
        return systemError(QStringLiteral("Cannot write"), path, code);
    }
    return {};
}

DbError copyFile(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        return {PathFileAccessError,
                QStringLiteral("Cannot read '%1': %2").arg(from, source.errorString())};
    }
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return {PathFileAccessError,
                QStringLiteral("Cannot create '%1': %2").arg(to, target.errorString())};
    }
    QByteArray block;
    bool ok = true;
    while (ok && !(block = source.read(1 << 20)).isEmpty()) {
        ok = target.write(block) == block.size();
    }
    ok = ok && source.error() == QFileDevice::NoError && target.flush() &&
         ::fsync(target.handle()) == 0;
    const QString problem =
        target.error() != QFileDevice::NoError ? target.errorString() : source.errorString();
    target.close();
    if (!ok) {
        QFile::remove(to);
        return {PathFileAccessError,
                QStringLiteral("Cannot copy '%1' to '%2': %3").arg(from, to, problem)};
    }
    syncFolder(to);
    return {};
}

DbError copyMode(const QString& from, const QString& to) {
    struct stat status {};
    if (::stat(QFile::encodeName(from).constData(), &status) != 0) {
        return systemError(QStringLiteral("Cannot read"), from, errno);
    }
    if (::chmod(QFile::encodeName(to).constData(), status.st_mode & 07777) != 0) {
        return systemError(QStringLiteral("Cannot set the permissions of"), to, errno);
    }
    return {};
}

bool isReadOnly(const QString& path) {
    const QFileInfo info(path);
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

DbError replaceFile(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        return systemError(QStringLiteral("Cannot rename to"), to, errno);
    }
    syncFolder(to);
    return {};
}

DbError renameNoReplace(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    if (::link(source.constData(), QFile::encodeName(to).constData()) != 0) {
        return systemError(QStringLiteral("Cannot rename to"), to, errno);
    }
    ::unlink(source.constData());
    syncFolder(to);
    return {};
}

DbError writeWhole(const QString& path, const QByteArray& contents) {
    QSaveFile file(path);
    // Unbuffered: a write that fails fails here, where it is seen. A buffered end would be
    // written only inside commit(), which does not count a failure there as a write error and
    // puts the short file in the old one's place.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // A write cut short is tried again for the rest, so that the reason it stopped (a full
    // disk, a file too large) is the one reported.
    for (qint64 written = 0; ok && written < contents.size();) {
        const qint64 part = file.write(contents.constData() + written, contents.size() - written);
        ok = part > 0;
        written += std::max<qint64>(part, 0);
    }
    if (ok && file.commit()) {
        syncFolder(path);
        return {};
    }
    const QString reason = file.errorString();
    file.cancelWriting();
    return {PathFileAccessError,
            QStringLiteral("The file '%1' could not be written: %2").arg(path, reason)};
}

}  // namespace fileops
