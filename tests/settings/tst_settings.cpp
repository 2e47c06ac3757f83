// The settings store, and the window placement kept in it.
#include "FileSizeLimit.h"
#include "TestPlatform.h"

#include "settings/CRegSettings.h"
#include "services/MWindow.h"
#include "settings/RegistryStore.h"
#include "settings/WindowPlacement.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

constexpr quint32 kHkcu = RegistryStore::HKEY_CURRENT_USER;
constexpr int kText = RegistryStore::REG_SZ, kNumber = RegistryStore::REG_DWORD;
const QString kOptions = QStringLiteral("Software\\Tenvane\\Plovix\\Options");
const QString kSec = QStringLiteral("Options");

namespace {

// By default a 1920 x 1080 primary screen with panels taking 120 pixels at the right and 40 at
// the bottom, at 15 twips per pixel: screen 28800 x 16200 twips, work area 27000 x 15600.
PlacementEnvironment desk(QRect screen = {0, 0, 1920, 1080}, QRect workArea = {0, 0, 1800, 1040}) {
    PlacementEnvironment env;
    env.screens = {screen};
    env.workArea = workArea;
    return env;
}

// A form whose centred place ends in halves: (10498.5, 6298.5) twips.
const QSizeF kForm(6003, 3003);
const QPoint kCentred(10498, 6298);

}  // namespace

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
        QVERIFY(!fileBytes(path()).contains("SOFTWARE"));  // the first-written case is kept
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
            {"truncated", fileBytes(path()).chopped(fileBytes(path()).size() / 2)},
            {"wrong shape", "[1, 2, 3]"},
            {"bad base64", fileBytes(path()).replace("YWJj", "Y*Jj")},  // "abc"
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

    // On a full disk a change fails and the settings stay as they were written last.
    void aFullDiskKeepsTheStore() {
        CRegSettings settings{RegistryStore(path())};
        QVERIFY(settings.saveSetting(kSec, "Old", "abc"));
        const QByteArray before = fileBytes(path());
        for (const qint64 limit : {qint64(0), qint64(before.size() / 2)}) {
            FileSizeLimit full(limit);
            QVERIFY(!settings.saveSetting(kSec, "New", QString(100, u'n')));
            full.lift();
            QCOMPARE(fileBytes(path()), before);
        }
        QVERIFY(settings.saveSetting(kSec, "New", "n"));
        QCOMPARE(settings.getSetting(kSec, "Old"), "abc");
    }

    void integer16() {
        // Halves and values out of range as stored text; restored() covers the plain ones.
        const std::pair<const char*, std::optional<qint16>> cases[] = {
            {" -120 ", -120},           // spaces around
            {"-32768.5", -32768},       // halves to even at the smallest
            {"32767.5", std::nullopt},  // rounds past the largest
            {"-32769", std::nullopt},   // below the smallest
            {"12abc", std::nullopt},    // only partly a number
            {"", std::nullopt},         // empty
            {"nan", std::nullopt},      // not a finite number
        };
        for (const auto& [text, expected] : cases)
            QVERIFY2(toInteger16(text) == expected, text);
    }

    void centred() {
        const auto corner = desk({100, 50, 1920, 1080}, {300, 50, 1800, 1040});
        const std::tuple<const char*, PlacementEnvironment, QSizeF, QPointF> cases[] = {
            {"as wide as the work area", desk(), {27000, 15600}, {0, 0}},
            {"wider than the work area", desk(), {28000, 16000}, {400, 100}},
            {"halves", desk(), kForm, {10498.5, 6298.5}},
            {"from the screen corner, not the work area's", corner, {6000, 3000}, {12000, 7050}},
        };
        for (auto [name, env, form, expected] : cases) {
            QVERIFY2(centredPosition(form, env) == expected, name);
            // At half the twips per pixel every length in twips halves too.
            env.twipsPerPixelX = env.twipsPerPixelY = 7.5;
            QVERIFY2(centredPosition(form / 2, env) == expected / 2, name);
        }
    }

    void restored() {
        PlacementEnvironment twoScreens = desk();
        twoScreens.screens.append(QRect(1920, 0, 1280, 1024));
        // Stored left and top (null: nothing stored), screens, the place the form comes back to.
        const std::tuple<const char*, const char*, const char*, PlacementEnvironment, QPoint>
            cases[] = {
                {"nothing stored", nullptr, nullptr, desk(), kCentred},
                {"negative", "-120", "300", desk(), {-120, 300}},
                {"text with halves", "4567.5", "4566.5", desk(), {4568, 4566}},
                {"left too large", "40000", "300", desk(), {kCentred.x(), 300}},
                {"top not a number", "300", "abc", desk(), {300, kCentred.y()}},
                {"right of the screen", "30000", "300", desk(), kCentred},
                {"on a second screen", "30000", "300", twoScreens, {30000, 300}},
                {"48 pixels showing", "28080", "15480", desk(), {28080, 15480}},
                {"47 pixels wide", "28095", "300", desk(), kCentred},
                {"above the screen", "300", "-3100", desk(), kCentred},
            };
        CRegSettings settings{RegistryStore(path())};
        for (const auto& [name, left, top, env, expected] : cases) {
            // One form per case, so that no case sees another's place.
            const QString form = QString::fromLatin1(name);
            if (left) {
                QVERIFY(settings.saveSetting("Position", form + " Left", left));
                QVERIFY(settings.saveSetting("Position", form + " Top", top));
            }
            QVERIFY2(restoredPosition(settings, form, kForm, env) == expected, name);
        }
    }

    void storesWholeTwipsAsNumbers() {
        CRegSettings settings{RegistryStore(path())};
        storePosition(settings, "frmMain", QPointF(4566.5, -120.6));
        const auto left = settings.store().queryValue(kHkcu, "Software\\Tenvane\\Plovix\\Position",
                                                      "frmMain Left");
        QVERIFY(left && left->type == RegistryStore::REG_DWORD);
        QCOMPARE(restoredPosition(settings, "frmMain", kForm, desk()), QPoint(4566, -121));
    }

    void aMaximizedFormKeepsNoPlace() {
        // Forms that are not maximized go back where they were closed (the record form's
        // start-up test); a maximized one is not stored.
        CRegSettings settings{RegistryStore(path())};
        QWidget maximized;
        maximized.setObjectName("frmMax");
        maximized.showMaximized();
        formPosition(&maximized, true, settings);
        QCOMPARE(settings.getSetting("Position", "frmMax Left", "none"), "none");
    }

private:
    QString path() const { return m_dir.filePath("cfg/registry.json"); }

    // A value of the Options section as stored: its type and bytes, or (0, "missing").
    std::pair<int, QByteArray> stored(const QString& name) const {
        const auto value = RegistryStore(path()).queryValue(kHkcu, kOptions, name);
        return value ? std::pair(value->type, value->data) : std::pair(0, QByteArray("missing"));
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
