#include "images/PictureLoader.h"

#include "images/Metafile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

using namespace Qt::StringLiterals;

namespace {

// Enough of the start of a file to tell a metafile.
constexpr qint64 kHeadBytes = 64;

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

LoadedPicture loadPicture(const QString& path, double dpiX, double dpiY) {
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
        return image.isNull() ? failure(kInvalidPicture, reason) : success(std::move(image));
    }

    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        return failure(kInvalidPicture, reader.errorString());
    }
    return success(std::move(image));
}
