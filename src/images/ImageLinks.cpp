#include "images/ImageLinks.h"

namespace links {

QStringList read(const QString& stored) {
    QStringList paths = stored.split(QLatin1Char(','));
    paths.removeLast();  // what follows the last comma, or the whole text when there is none
    return paths;
}

QString write(const QStringList& paths) {
    QString stored = QStringLiteral("");  // an empty text, never Null
    for (const QString& path : paths) {
        stored += path + QLatin1Char(',');
    }
    return stored;
}

bool storable(const QString& path) {
    return !path.contains(QLatin1Char(','));
}

}  // namespace links
