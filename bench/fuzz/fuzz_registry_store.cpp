// The settings file (registry.json): read by the store as the program reads it at start-up,
// then changed and read again.
//
// Input: the contents of the settings file.
#include "FuzzInput.h"
#include "settings/CRegSettings.h"
#include "settings/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr quint32 kUser = RegistryStore::HKEY_CURRENT_USER;
const QString kProgramKey = QStringLiteral("Software\\Tenvane\\Plovix");

// In memory where the system has a folder for it: every change of the store syncs its file to
// disk, which would make the file system, not the reader, the measure of the run.
QString scratchTemplate() {
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + QStringLiteral("/plovix-fuzz-XXXXXX");
}

const QString& settingsPath() {
    static QTemporaryDir dir(scratchTemplate());
    static const QString path = dir.filePath(QStringLiteral("registry.json"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch folder for the settings file\n");
        std::abort();
    }
    return path;
}

void writeSettingsFile(const QByteArray& bytes) {
    QFile file(settingsPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(settingsPath()));
        std::abort();
    }
}

// The values the program reads, where it reads them: key path and value name.
const QList<std::pair<QString, QString>>& programValues() {
    static const QList<std::pair<QString, QString>> values{
        {kProgramKey + QStringLiteral("\\Application"), QStringLiteral("UserName")},
        {kProgramKey + QStringLiteral("\\Application"), QStringLiteral("FilePath")},
        {kProgramKey + QStringLiteral("\\Position"), QStringLiteral("frmMain Left")},
        {kProgramKey + QStringLiteral("\\Position"), QStringLiteral("frmMain Top")},
        {kProgramKey, QString()},
        {QString(), QStringLiteral("x")},
    };
    return values;
}

QList<std::optional<RegistryStore::Value>> readProgramValues(const RegistryStore& store) {
    QList<std::optional<RegistryStore::Value>> read;
    for (const auto& [path, name] : programValues()) {
        read.append(store.queryValue(kUser, path, name));
        FUZZ_CHECK(!read.last() || store.keyExists(kUser, path));
    }
    return read;
}

bool operator==(const RegistryStore::Value& a, const RegistryStore::Value& b) {
    return a.type == b.type && a.data == b.data;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    settingsPath();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeSettingsFile(fuzz::bytesOf(data, size));
    RegistryStore store(settingsPath());
    const QList<std::optional<RegistryStore::Value>> before = readProgramValues(store);
    FUZZ_CHECK(store.keyExists(kUser, QString()));

    // The values as the program takes them: text, or a number as text.
    CRegSettings settings(store);
    (void)settings.getSetting(QStringLiteral("Application"), QStringLiteral("UserName"));
    (void)settings.getSetting(QStringLiteral("Position"), QStringLiteral("frmMain Left"));

    // A change rewrites the file; a damaged file is started afresh, a sound one keeps every
    // value it held.
    const QString section = kProgramKey + QStringLiteral("\\Fuzz");
    const RegistryStore::Value written{RegistryStore::REG_BINARY,
                                       fuzz::bytesOf(data, std::min<size_t>(size, 64))};
    FUZZ_CHECK(store.createKey(kUser, section));
    FUZZ_CHECK(store.setValue(kUser, section, QStringLiteral("Written"), written));
    const std::optional<RegistryStore::Value> back =
        store.queryValue(kUser, section, QStringLiteral("written"));
    FUZZ_CHECK(back && *back == written);

    const QList<std::optional<RegistryStore::Value>> after = readProgramValues(store);
    for (qsizetype i = 0; i < before.size(); ++i) {
        FUZZ_CHECK(!before[i] || (after[i] && *after[i] == *before[i]));
    }

    FUZZ_CHECK(store.deleteValue(kUser, section, QStringLiteral("WRITTEN")));
    FUZZ_CHECK(!store.queryValue(kUser, section, QStringLiteral("Written")));
    return 0;
}
