#pragma once

#include <QString>

// The program's own identity: its title, the folder that holds the program file, the
// program file's name and its version.
struct AppInfo {
    QString title = QStringLiteral("Plovix");
    QString path;
    QString exeName = QStringLiteral("Plovix");
    int major = 0;
    int minor = 0;
    int revision = 0;
    // The maker's web site.
    QString webSite = QStringLiteral("https://www.tenvane.example/plovix");
    // The first year of the maker's copyright.
    static constexpr int firstYear = 2024;

    // The identity of the running program: its folder and the version it was built as.
    static AppInfo forRunningProgram();
    // The same identity, placed in another folder (tests and tools).
    static AppInfo inFolder(const QString& folder);

    // A file in the program folder.
    QString filePath(const QString& fileName) const;
    // The maker's copyright notice, its years ending in `currentYear`:
    // "Copyright © Tenvane Software 2024-2031".
    static QString makersNotice(int currentYear);
    // The title and the version as the program signs its printouts: "Plovix 2.5".
    QString titleAndVersion() const {
        return QStringLiteral("%1 %2.%3").arg(title).arg(major).arg(minor);
    }
};
