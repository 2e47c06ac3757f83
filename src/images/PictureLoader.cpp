#include "images/PictureLoader.h"

#include "images/Metafile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

// Enough of the start of a file to tell a metafile.
constexpr qint64 kHeadBytes = 64;
constexpr qint64 kMiB = qint64(1) << 20;
// A picture read takes four bytes a pixel, and as much again once it is on the screen.
constexpr qint64 kBytesPerPixel = 4;
constexpr qint64 kCopies = 2;

// The memory the system could give without swapping, in bytes; -1 when it does not say.
qint64 freeMemory() {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return -1;
    }
    for (QByteArray line = meminfo.readLine(); !line.isEmpty(); line = meminfo.readLine()) {
        if (line.startsWith("MemAvailable:")) {
            bool ok = false;
            const qint64 kib = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
            return ok ? kib * 1024 : -1;
        }
    }
    return -1;
}

LoadedPicture failure(int errorNumber, const QString& reason = {}) {
    LoadedPicture picture;
    picture.errorNumber = errorNumber;
    switch (errorNumber) {
        case kFileNotFound:
            picture.description = u"File not found"_s;
            break;
        case kFileAccessError:
            picture.description = u"Path/File access error"_s;
            break;
        case kOutOfMemory:
            picture.description = u"Out of memory"_s;
            break;
        default:
            picture.description = u"Invalid picture"_s;
            break;
    }
    if (!reason.isEmpty()) {
        picture.description += u": "_s + reason;
    }
    return picture;
}

LoadedPicture success(QImage image) {
    LoadedPicture picture;
    picture.image = std::move(image);
    return picture;
}

}  // namespace

LoadedPicture loadPicture(const QString& path, double dpiX, double dpiY, qint64 largest) {
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        return failure(kFileNotFound);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {  // a folder cannot be opened either
        return failure(kFileAccessError);
    }
    const QByteArray head = file.peek(kHeadBytes);
    if (file.error() != QFileDevice::NoError) {
        return failure(kFileAccessError);
    }

    if (isMetafile(head)) {
        const QByteArray data = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            return failure(kFileAccessError);
        }
        QString reason;
        QImage image = renderMetafile(data, dpiX, dpiY, &reason);
        if (image.isNull()) {
            return failure(
                kInvalidPicture,
                (reason.isEmpty() ? u"the metafile cannot be drawn"_s : reason) + u": "_s + path);
        }
        return success(std::move(image));
    }

    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    // The size is known before the pixels are read: a picture too large for memory is refused
    // then. The reader's own limit, far below what cameras make today, is raised to the same.
    const QSize size = reader.size();
    if (size.isValid()) {
        const qint64 free = freeMemory();
        const qint64 room = free < 0 ? largest : std::min(largest, free / kCopies);
        const qint64 needed = qint64(size.width()) * size.height() * kBytesPerPixel;
        if (needed > room) {
            const QLocale locale;
            return failure(kOutOfMemory,
                           u"the picture is too large to show (%1 × %2 pixels would take %3 MB "
                           "of memory; at most %4 MB can be used): %5"_s.arg(size.width())
                               .arg(size.height())
                               .arg(locale.toString((needed + kMiB - 1) / kMiB),
                                    locale.toString(room / kMiB), path));
        }
    }
    QImageReader::setAllocationLimit(int(std::min<qint64>(largest / kMiB + 1, INT_MAX)));
    QImage image = reader.read();
    if (image.isNull()) {
        const bool unknown = reader.error() == QImageReader::UnsupportedFormatError;
        return failure(kInvalidPicture,
                       unknown ? u"the file is not a picture of a kind Plovix can show: "_s + path
                               : u"the file is damaged or cut short (%1): %2"_s.arg(
                                     reader.errorString(), path));
    }
    return success(std::move(image));
}
