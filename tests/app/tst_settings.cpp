#include "app/CRegSettings.h"
#include "app/RegistryStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

constexpr quint32 kHkcu = RegistryStore::HKEY_CURRENT_USER;
constexpr int kText = RegistryStore::REG_SZ, kNumber = RegistryStore::REG_DWORD;
const QString kOptions = QStringLiteral("Software\\Tenvane\\Plovix\\Options");
const QString kSec = QStringLiteral("Options");

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init() { QFile::remove(path()); }

    void storeKeysIgnoreCase() {
        RegistryStore store(path());
        QVERIFY(!store.setValue(kHkcu, "A\\B", "v", {}));  // no such key
        QVERIFY(store.createKey(kHkcu, "Software\\Tenvane"));
        QVERIFY(store.createKey(kHkcu, "SOFTWARE\\tenvane\\Plovix"));
        QVERIFY(store.keyExists(kHkcu, "software\\TENVANE\\plovix"));
        QVERIFY(!fileBytes().contains("SOFTWARE"));  // the first-written case is kept
    }

    // Values written straight into the store, read through the settings' own copy of it.
    void readsTextAndSignedNumbers() {
        RegistryStore store(path());
        QVERIFY(store.createKey(kHkcu, kOptions));
        const CRegSettings settings(store);
        const std::tuple<const char*, int, QByteArray, const char*> cases[] = {
            {"text with NUL", RegistryStore::REG_SZ, QByteArray("123", 4), "123"},
            {"text without NUL", RegistryStore::REG_SZ, "123", "123"},
            {"empty", RegistryStore::REG_SZ, {}, "def"},
            {"266", RegistryStore::REG_DWORD, QByteArray("\x0a\x01\0\0", 4), "266"},
            {"-120", RegistryStore::REG_DWORD, "\x88\xff\xff\xff", "-120"},
            {"short number", RegistryStore::REG_DWORD, "\x0a\x01", "def"},
            {"binary", RegistryStore::REG_BINARY, "123", "def"},
        };
        for (const auto& [name, type, data, expected] : cases) {
            QVERIFY(store.setValue(kHkcu, kOptions, "Value", {type, data}));
            QVERIFY2(settings.getSetting(kSec, "value", "def") == expected, name);
        }
    }

    void savesAndDeletes() {
        CRegSettings settings{RegistryStore(path())};
        QVERIFY(settings.saveSetting(kSec, "Text", "Grüß", 7));
        QVERIFY(settings.saveSetting(kSec, "Number", {}, -120));
        QVERIFY(settings.saveSetting(kSec, "*", "main"));  // the key's unnamed value
        QVERIFY(settings.saveSetting(kSec + "\\Sub", "B", {}, 2));
        QVERIFY(settings.saveSetting("Kept", "C", {}, 3));
        QCOMPARE(stored("Text"), std::pair(kText, QByteArray("Gr\xc3\xbc\xc3\x9f")));
        QCOMPARE(stored("Number"), std::pair(kNumber, QByteArray("\x88\xff\xff\xff")));
        QCOMPARE(stored(QString()).second, QByteArray("main"));
        QCOMPARE(settings.getSetting(kSec, "*"), "main");

        QVERIFY(settings.deleteSetting(kSec, "*"));
        QCOMPARE(settings.getSetting(kSec, "*", "d"), "d");
        QVERIFY(settings.deleteSetting("options", "text"));  // names ignore case
        QVERIFY(!settings.deleteSetting(kSec, "Text"));
        QVERIFY(!settings.deleteSetting(kSec));  // it has a subkey
        QVERIFY(settings.deleteSetting(kSec + "\\Sub"));
        QVERIFY(settings.deleteSetting(kSec));
        QVERIFY(!settings.deleteSetting(kSec));
        QVERIFY(!settings.deleteSetting(QString()));  // never the application's own key
        QCOMPARE(settings.getSetting("Kept", "C"), "3");
    }

    void keyPathFollowsProperties() {
        CRegSettings settings(RegistryStore(path()), "Title");
        settings.setMainKey("  Soft Ware  ");
        settings.setCompany("   ");
        settings.setAppName("\tApp ");  // only spaces are trimmed
        QCOMPARE(settings.mainKey() + '|' + settings.company() + '|' + settings.appName(),
                 "Soft Ware|Tenvane|\tApp");
        settings.setAppName(QString());
        settings.setMainKey(QString());
        settings.setCompany(" Co ");
        settings.setHKey(0x80000002u);  // the machine's settings
        QVERIFY(settings.saveSetting("Sec", "K", {}, 1));
        QVERIFY(settings.store().keyExists(settings.hKey(), "Software\\Co\\Title\\Sec"));
        QVERIFY(!settings.store().keyExists(kHkcu, "Software"));
    }

    void damagedFileReadsEmpty() {
        CRegSettings settings{RegistryStore(path())};
        QVERIFY(settings.saveSetting(kSec, "Old", "abc"));
        const std::pair<const char*, QByteArray> cases[] = {
            {"garbage", QByteArray("\x00\xff\x13garbage\x80", 11)},
            {"truncated", fileBytes().chopped(fileBytes().size() / 2)},
            {"wrong shape", "[1, 2, 3]"},
            {"bad base64", fileBytes().replace("YWJj", "Y*Jj")},  // "abc"
        };
        QFile file(path());
        for (const auto& [how, text] : cases) {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
            file.close();
            QVERIFY2(settings.getSetting(kSec, "Old", "d") == "d", how);
            QVERIFY2(!settings.store().keyExists(kHkcu, "Software"), how);
            QVERIFY2(!settings.deleteSetting(kSec, "Old"), how);
            // Writing starts the file afresh.
            QVERIFY2(settings.saveSetting(kSec, "New", {}, 5), how);
            QVERIFY2(settings.getSetting(kSec, "New") == "5", how);
        }
    }

    void unwritableStoreFails() {
        // A plain file where the store's folder should be: nothing can be written below it.
        QVERIFY(QFile(m_dir.filePath("blocker")).open(QIODevice::WriteOnly));
        CRegSettings settings{RegistryStore(m_dir.filePath("blocker/registry.json"))};
        QVERIFY(!settings.saveSetting(kSec, "K", "v"));
    }

private:
    QString path() const { return m_dir.filePath("cfg/registry.json"); }

    // A value of the Options section as stored: its type and bytes, or (0, "missing").
    std::pair<int, QByteArray> stored(const QString& name) const {
        const auto value = RegistryStore(path()).queryValue(kHkcu, kOptions, name);
        return value ? std::pair(value->type, value->data) : std::pair(0, QByteArray("missing"));
    }

    QByteArray fileBytes() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
