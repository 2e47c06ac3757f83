#include "app/CRegSettings.h"
#include "app/RegistryStore.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr quint32 kHkcu = RegistryStore::HKEY_CURRENT_USER;
const QString kOptions = QStringLiteral("Software\\Tenvane\\Plovix\\Options");
const QString kSec = QStringLiteral("Options");
}  // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QFile::remove(path());
    }

    void storeSharesOneFileIgnoringCase() {
        RegistryStore writer(path());
        QVERIFY(!writer.setValue(kHkcu, QStringLiteral("A\\B"), QStringLiteral("v"), {}));
        QVERIFY(writer.createKey(kHkcu, QStringLiteral("Software\\Tenvane")));
        QVERIFY(writer.createKey(kHkcu, QStringLiteral("SOFTWARE\\tenvane\\Plovix")));
        QVERIFY(writer.setValue(kHkcu, QStringLiteral("software"), QStringLiteral("Name"),
                                {RegistryStore::REG_BINARY, "\x01\x02"}));
        const RegistryStore reader(path());
        QVERIFY(reader.keyExists(kHkcu, QStringLiteral("software\\TENVANE\\plovix")));
        QVERIFY(!reader.keyExists(0x80000002u, QStringLiteral("Software")));
        const auto value = reader.queryValue(kHkcu, QStringLiteral("Software"), "NAME");
        QVERIFY(value);
        QCOMPARE(value->type, RegistryStore::REG_BINARY);
        QCOMPARE(value->data, QByteArray("\x01\x02"));
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("SOFTWARE"));  // the first-written case is kept
    }

    void reads_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text with NUL") << RegistryStore::REG_SZ << QByteArray("123", 4) << "123";
        QTest::newRow("text without NUL") << RegistryStore::REG_SZ << QByteArray("123") << "123";
        QTest::newRow("empty") << RegistryStore::REG_SZ << QByteArray() << "def";
        QTest::newRow("-1") << RegistryStore::REG_DWORD << QByteArray(4, '\xff') << "-1";
        QTest::newRow("266") << RegistryStore::REG_DWORD << QByteArray("\x0a\x01\0\0", 4) << "266";
        QTest::newRow("-120") << RegistryStore::REG_DWORD << QByteArray("\x88\xff\xff\xff")
                              << "-120";
        QTest::newRow("short dword") << RegistryStore::REG_DWORD << QByteArray("\x0a\x01") << "def";
        QTest::newRow("binary") << RegistryStore::REG_BINARY << QByteArray("123") << "def";
    }
    void reads() {
        QFETCH(int, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, expected);
        RegistryStore store(path());
        QVERIFY(store.createKey(kHkcu, kOptions));
        QVERIFY(store.setValue(kHkcu, kOptions, QStringLiteral("Value"), {type, data}));
        const CRegSettings settings(store);
        QCOMPARE(settings.getSetting(kSec, QStringLiteral("value"), "def"), expected);
        QCOMPARE(settings.getSetting(kSec, QStringLiteral("Other"), "def"), "def");
        QCOMPARE(settings.getSetting(QStringLiteral("Missing"), QStringLiteral("Value"), "d"), "d");
    }

    void savesTextOrNumber() {
        CRegSettings settings{RegistryStore(path())};
        const auto stored = [&](const QString& name) {
            return settings.store()
                .queryValue(kHkcu, kOptions, name)
                .value_or(RegistryStore::Value{0, "missing"});
        };
        QVERIFY(settings.saveSetting(kSec, QStringLiteral("Text"), QStringLiteral("Grüß"), 7));
        QCOMPARE(stored("Text").type, RegistryStore::REG_SZ);
        QCOMPARE(stored("Text").data, QByteArray("Gr\xc3\xbc\xc3\x9f"));
        QVERIFY(settings.saveSetting(kSec, QStringLiteral("Empty")));
        QCOMPARE(stored("Empty").type, RegistryStore::REG_DWORD);
        QCOMPARE(stored("Empty").data, QByteArray(4, '\0'));
        QVERIFY(settings.saveSetting(kSec, QStringLiteral("Number"), {}, -120));
        QCOMPARE(settings.getSetting(kSec, QStringLiteral("Number")), "-120");

        // "*" is the key's unnamed value, not a value called "*".
        QVERIFY(settings.saveSetting(kSec, QStringLiteral("*"), QStringLiteral("main")));
        QCOMPARE(stored(QString()).data, QByteArray("main"));
        QCOMPARE(stored("*").data, QByteArray("missing"));
        QCOMPARE(settings.getSetting(kSec, QStringLiteral("*")), "main");
        QVERIFY(settings.deleteSetting(kSec, QStringLiteral("*")));
        QCOMPARE(settings.getSetting(kSec, QStringLiteral("*"), "d"), "d");
    }

    void keyPathFollowsProperties() {
        CRegSettings settings(RegistryStore(path()), QStringLiteral("Title"));
        settings.setMainKey(QStringLiteral("  Soft Ware  "));
        settings.setCompany(QStringLiteral("   "));
        settings.setAppName(QStringLiteral("\tApp "));  // only spaces are trimmed
        QCOMPARE(settings.mainKey(), QStringLiteral("Soft Ware"));
        QCOMPARE(settings.company(), QStringLiteral("Tenvane"));
        QCOMPARE(settings.appName(), QStringLiteral("\tApp"));
        settings.setAppName(QString());
        settings.setMainKey(QString());
        settings.setCompany(QStringLiteral(" Co "));
        settings.setHKey(0x80000002u);
        QVERIFY(settings.saveSetting(QStringLiteral("Sec"), QStringLiteral("K"), {}, 1));
        QVERIFY(
            settings.store().keyExists(0x80000002u, QStringLiteral("Software\\Co\\Title\\Sec")));
        QVERIFY(!settings.store().keyExists(kHkcu, QStringLiteral("Software")));
    }

    void deletesValuesAndSections() {
        CRegSettings settings{RegistryStore(path())};
        QVERIFY(settings.saveSetting(QStringLiteral("Position"), QStringLiteral("A"), {}, 1));
        QVERIFY(settings.saveSetting(QStringLiteral("Position\\Sub"), QStringLiteral("B"), {}, 2));
        QVERIFY(settings.saveSetting(QStringLiteral("Kept"), QStringLiteral("C"), {}, 3));

        QVERIFY(settings.deleteSetting(QStringLiteral("position"), QStringLiteral("a")));
        QVERIFY(!settings.deleteSetting(QStringLiteral("Position"), QStringLiteral("A")));
        QVERIFY(!settings.deleteSetting(QStringLiteral("Missing"), QStringLiteral("A")));
        QVERIFY(!settings.deleteSetting(QStringLiteral("Position")));  // it has a subkey
        QVERIFY(settings.deleteSetting(QStringLiteral("Position\\Sub")));
        QVERIFY(settings.deleteSetting(QStringLiteral("Position")));
        QVERIFY(!settings.deleteSetting(QStringLiteral("Position")));
        QVERIFY(!settings.deleteSetting(QString()));  // never the application's own key
        QCOMPARE(settings.getSetting(QStringLiteral("Kept"), QStringLiteral("C")), "3");
    }

    void damagedFileReadsEmpty_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"garbage", "truncated", "wrong shape", "bad base64"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void damagedFileReadsEmpty() {
        QFETCH(QString, how);
        CRegSettings settings{RegistryStore(path())};
        QVERIFY(settings.saveSetting(kSec, QStringLiteral("Old"), QStringLiteral("abc")));
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray text = file.readAll();
        if (how == QLatin1String("garbage"))
            text = QByteArray("\x00\xff\x13garbage\x80", 11);
        else if (how == QLatin1String("truncated"))
            text.chop(text.size() / 2);
        else if (how == QLatin1String("wrong shape"))
            text = "[1, 2, 3]";
        else
            text.replace("YWJj", "Y*Jj");  // "abc"
        QVERIFY(file.resize(0) && file.seek(0) && file.write(text) == text.size());
        file.close();

        QCOMPARE(settings.getSetting(kSec, QStringLiteral("Old"), "d"), "d");
        QVERIFY(!settings.store().keyExists(kHkcu, QStringLiteral("Software")));
        QVERIFY(!settings.deleteSetting(kSec, QStringLiteral("Old")));
        QVERIFY(settings.saveSetting(kSec, QStringLiteral("New"), {}, 5));
        QCOMPARE(settings.getSetting(kSec, QStringLiteral("New")), "5");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QJsonDocument::fromJson(file.readAll()).isObject());
    }

    void unwritableStoreFails() {
        // A plain file where the store's folder should be: nothing can be written below it.
        QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        CRegSettings settings{RegistryStore(blocker.fileName() + QStringLiteral("/registry.json"))};
        QVERIFY(!settings.saveSetting(kSec, QStringLiteral("K"), QStringLiteral("v")));
        QVERIFY(!settings.deleteSetting(kSec));
        QCOMPARE(settings.getSetting(kSec, QStringLiteral("K"), "d"), "d");
    }

private:
    QString path() const { return m_dir.filePath(QStringLiteral("cfg/registry.json")); }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
