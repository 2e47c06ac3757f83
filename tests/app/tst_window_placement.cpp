#include "app/CRegSettings.h"
#include "app/MWindow.h"
#include "app/RegistryStore.h"
#include "app/WindowPlacement.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

namespace {

// A 1920 x 1080 primary screen with panels taking 120 pixels at the right and 40 at the
// bottom, at 15 twips per pixel: screen 28800 x 16200 twips, work area 27000 x 15600.
PlacementEnvironment desk() {
    PlacementEnvironment env;
    env.screens = {QRect(0, 0, 1920, 1080)};
    env.workArea = QRect(0, 0, 1800, 1040);
    return env;
}

// A form whose centred place ends in halves: (10498.5, 6298.5) twips.
const QSizeF kForm(6003, 3003);
const QPoint kCentred(10498, 6298);

const QString kPositionKey = QStringLiteral("Software\\Tenvane\\Plovix\\Position");

}  // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QFile::remove(storePath());
    }

    void integer16_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");  // -99999: nothing
        QTest::newRow("half up to even") << "4567.5" << 4568;
        QTest::newRow("half down to even") << "4566.5" << 4566;
        QTest::newRow("negative, spaces") << " -120 " << -120;
        QTest::newRow("smallest") << "-32768.5" << -32768;
        QTest::newRow("rounds past largest") << "32767.5" << -99999;
        QTest::newRow("too large") << "40000" << -99999;
        QTest::newRow("too small") << "-32769" << -99999;
        QTest::newRow("letters") << "12abc" << -99999;
        QTest::newRow("empty") << "" << -99999;
        QTest::newRow("not a number") << "nan" << -99999;
    }
    void integer16() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<qint16> got = toInteger16(text);
        QCOMPARE(got ? int(*got) : -99999, expected);
    }

    void centred_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QSizeF>("form");
        QTest::addColumn<QPointF>("expected");
        const QRect screen(0, 0, 1920, 1080);
        const QRect work(0, 0, 1800, 1040);
        QTest::newRow("narrower") << screen << work << QSizeF(6000, 3000) << QPointF(10500, 6300);
        QTest::newRow("as wide as the work area")
            << screen << work << QSizeF(27000, 15600) << QPointF(0, 0);
        QTest::newRow("wider than the work area")
            << screen << work << QSizeF(28000, 16000) << QPointF(400, 100);
        QTest::newRow("halves") << screen << work << kForm << QPointF(10498.5, 6298.5);
        QTest::newRow("from the screen corner, not the work area's")
            << QRect(100, 50, 1920, 1080) << QRect(300, 50, 1800, 1040) << QSizeF(6000, 3000)
            << QPointF(12000, 7050);
    }
    void centred() {
        QFETCH(QRect, screen);
        QFETCH(QRect, workArea);
        QFETCH(QSizeF, form);
        QFETCH(QPointF, expected);
        PlacementEnvironment env;
        env.screens = {screen};
        env.workArea = workArea;
        QCOMPARE(centredPosition(form, env), expected);

        // At half the twips per pixel every length in twips halves too.
        env.twipsPerPixelX = env.twipsPerPixelY = 7.5;
        QCOMPARE(centredPosition(form / 2, env), expected / 2);
    }

    void restored_data() {
        QTest::addColumn<QString>("left");  // null: nothing stored
        QTest::addColumn<QString>("top");
        QTest::addColumn<bool>("secondScreen");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("nothing stored") << QString() << QString() << false << kCentred;
        QTest::newRow("negative") << "-120"
                                  << "300" << false << QPoint(-120, 300);
        QTest::newRow("text with halves") << "4567.5"
                                          << "4566.5" << false << QPoint(4568, 4566);
        QTest::newRow("left too large") << "40000"
                                        << "300" << false << QPoint(kCentred.x(), 300);
        QTest::newRow("top not a number") << "300"
                                          << "abc" << false << QPoint(300, kCentred.y());
        QTest::newRow("right of the screen") << "30000"
                                             << "300" << false << kCentred;
        QTest::newRow("on a second screen") << "30000"
                                            << "300" << true << QPoint(30000, 300);
        QTest::newRow("48 pixels showing") << "28080"
                                           << "15480" << false << QPoint(28080, 15480);
        QTest::newRow("47 pixels wide") << "28095"
                                        << "300" << false << kCentred;
        QTest::newRow("above the screen") << "300"
                                          << "-3100" << false << kCentred;
    }
    void restored() {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(bool, secondScreen);
        QFETCH(QPoint, expected);
        CRegSettings settings{RegistryStore(storePath())};
        // Whole numbers are stored the way the program stores them, as numbers.
        const auto store = [&](const QString& name, const QString& text) {
            bool isWhole = false;
            const int number = text.toInt(&isWhole);
            QVERIFY(isWhole ? settings.saveSetting(QStringLiteral("Position"), name, {}, number)
                            : settings.saveSetting(QStringLiteral("Position"), name, text));
        };
        if (!left.isNull())
            store(QStringLiteral("frmMain Left"), left);
        if (!top.isNull())
            store(QStringLiteral("frmMain Top"), top);
        PlacementEnvironment env = desk();
        if (secondScreen)
            env.screens.append(QRect(1920, 0, 1280, 1024));
        QCOMPARE(restoredPosition(settings, QStringLiteral("frmMain"), kForm, env), expected);
    }

    void storesWholeTwipsAsNumbers() {
        CRegSettings settings{RegistryStore(storePath())};
        storePosition(settings, QStringLiteral("frmMain"), QPointF(4566.5, -120.6));
        const auto left = settings.store().queryValue(RegistryStore::HKEY_CURRENT_USER,
                                                      kPositionKey, QStringLiteral("frmMain Left"));
        QVERIFY(left);
        QCOMPARE(left->type, RegistryStore::REG_DWORD);
        QCOMPARE(restoredPosition(settings, QStringLiteral("frmMain"), kForm, desk()),
                 QPoint(4566, -121));
    }

    void formRoundTrip() {
        CRegSettings settings{RegistryStore(storePath())};
        QWidget form;
        form.setObjectName(QStringLiteral("frmTest"));
        form.resize(200, 100);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.move(120, 80);
        formPosition(&form, true, settings);
        const double twipsPerPixel = 1440.0 / form.screen()->logicalDotsPerInchX();
        QCOMPARE(settings.getSetting(QStringLiteral("Position"), QStringLiteral("frmTest Left")),
                 QString::number(qRound(120 * twipsPerPixel)));
        form.move(10, 10);
        formPosition(&form, false, settings);
        QCOMPARE(form.frameGeometry().topLeft(), QPoint(120, 80));

        QWidget maximized;
        maximized.setObjectName(QStringLiteral("frmMax"));
        maximized.showMaximized();
        formPosition(&maximized, true, settings);
        QCOMPARE(settings.getSetting(QStringLiteral("Position"), QStringLiteral("frmMax Left"),
                                     QStringLiteral("none")),
                 QStringLiteral("none"));
    }

private:
    QString storePath() const { return m_dir.filePath(QStringLiteral("registry.json")); }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
