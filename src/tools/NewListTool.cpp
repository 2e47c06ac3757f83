// Makes a new life list from the shipped data: plovix_newlist "<folder>/Bird List.mdb".
#include "database/NewLifeList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: plovix_newlist <file>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (const DbError error = createNewLifeList(path)) {
        std::fprintf(stderr, "plovix_newlist: %s\n", qPrintable(error.description));
        return 1;
    }
    return 0;
}
