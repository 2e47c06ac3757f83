#include "platform/AppInfo.h"

#include <QCoreApplication>
#include <QDir>

AppInfo AppInfo::forRunningProgram() {
    return inFolder(QCoreApplication::applicationDirPath());
}

AppInfo AppInfo::inFolder(const QString& folder) {
    AppInfo info;
    info.path = QDir::cleanPath(folder);
    info.major = PLOVIX_VERSION_MAJOR;
    info.minor = PLOVIX_VERSION_MINOR;
    info.revision = PLOVIX_VERSION_PATCH;
    return info;
}

QString AppInfo::filePath(const QString& fileName) const {
    return path + QLatin1Char('/') + fileName;
}

QString AppInfo::makersNotice(int currentYear) {
    const QString years = currentYear <= firstYear
                              ? QString::number(currentYear)
                              : QStringLiteral("%1-%2").arg(firstYear).arg(currentYear);
    return QStringLiteral("Copyright \u00A9 Tenvane Software ") + years;
}
