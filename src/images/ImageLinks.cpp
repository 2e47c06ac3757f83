#include "images/ImageLinks.h"

namespace links {

QStringList read(const QString& stored) {
    QStringList paths = stored.split(QLatin1Char(','));
    // What follows the last comma: nothing when the value ends in one, as the program writes it.
    if (paths.last().isEmpty()) {
        paths.removeLast();
    }
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
