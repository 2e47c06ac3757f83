#include "app/CRegSettings.h"
#include "app/MWindow.h"
#include "app/RegistryStore.h"
#include "app/WindowPlacement.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

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

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QFile::remove(storePath());
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
            {"narrower", desk(), {6000, 3000}, {10500, 6300}},
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
        CRegSettings settings{RegistryStore(storePath())};
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
        CRegSettings settings{RegistryStore(storePath())};
        storePosition(settings, "frmMain", QPointF(4566.5, -120.6));
        const auto left =
            settings.store().queryValue(RegistryStore::HKEY_CURRENT_USER,
                                        "Software\\Tenvane\\Plovix\\Position", "frmMain Left");
        QVERIFY(left && left->type == RegistryStore::REG_DWORD);
        QCOMPARE(restoredPosition(settings, "frmMain", kForm, desk()), QPoint(4566, -121));
    }

    void formRoundTrip() {
        CRegSettings settings{RegistryStore(storePath())};
        QWidget form;
        form.setObjectName("frmTest");
        form.resize(200, 100);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.move(120, 80);
        formPosition(&form, true, settings);
        const double twipsPerPixel = 1440.0 / form.screen()->logicalDotsPerInchX();
        QCOMPARE(settings.getSetting("Position", "frmTest Left"),
                 QString::number(qRound(120 * twipsPerPixel)));
        form.move(10, 10);
        formPosition(&form, false, settings);
        QCOMPARE(form.frameGeometry().topLeft(), QPoint(120, 80));

        // A maximized form keeps no place of its own.
        QWidget maximized;
        maximized.setObjectName("frmMax");
        maximized.showMaximized();
        formPosition(&maximized, true, settings);
        QCOMPARE(settings.getSetting("Position", "frmMax Left", "none"), "none");
    }

private:
    QString storePath() const { return m_dir.filePath("registry.json"); }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
