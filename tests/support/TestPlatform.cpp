#include "TestPlatform.h"

#include <QDir>

TestPlatform::TestPlatform(const QString& folder)
    : m_folder(folder.isEmpty() ? m_dir.path() : folder) {
    program = std::make_unique<Program>(AppInfo::inFolder(m_folder), dialogs, clock, cursor, shell);
    program->gobjSettings = std::make_unique<CRegSettings>(RegistryStore(file(u"registry.json"_s)));
}

TestPlatform::~TestPlatform() {
    program->closeBirdList();
}

QStringList TestPlatform::files() const {
    QStringList names = QDir(m_folder).entryList(QDir::Files, QDir::Name);
    names.removeOne(u"registry.json"_s);
    return names;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
