#include "services/MWindow.h"

#include "settings/CRegSettings.h"
#include "settings/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440.0;

PlacementEnvironment currentEnvironment() {
    PlacementEnvironment env;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return env;
    env.screens.append(primary->geometry());
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            env.screens.append(screen->geometry());
    }
    env.workArea = primary->availableGeometry();
    env.twipsPerPixelX = kTwipsPerInch / primary->logicalDotsPerInchX();
    env.twipsPerPixelY = kTwipsPerInch / primary->logicalDotsPerInchY();
    return env;
}

}  // namespace

WorkArea workArea() {
    const PlacementEnvironment env = currentEnvironment();
    WorkArea area;
    area.twipsPerPixelX = env.twipsPerPixelX;
    area.twipsPerPixelY = env.twipsPerPixelY;
    area.twips = QSize(int(std::lround(env.workArea.width() * env.twipsPerPixelX)),
                       int(std::lround(env.workArea.height() * env.twipsPerPixelY)));
    return area;
}

void formPosition(QWidget* frm, bool save, CRegSettings& settings) {
    if (!frm)
        return;
    if (frm->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;

    if (save) {
        QScreen* screen = frm->screen() ? frm->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        const QPoint pos = frm->frameGeometry().topLeft();
        storePosition(settings, frm->objectName(),
                      QPointF(pos.x() * kTwipsPerInch / screen->logicalDotsPerInchX(),
                              pos.y() * kTwipsPerInch / screen->logicalDotsPerInchY()));
        return;
    }

    const PlacementEnvironment env = currentEnvironment();
    if (env.screens.isEmpty())
        return;
    // Before the window has been shown there is no frame to measure yet.
    const QSize size =
        frm->testAttribute(Qt::WA_WState_Created) ? frm->frameGeometry().size() : frm->size();
    const QPoint twips = restoredPosition(
        settings, frm->objectName(),
        QSizeF(size.width() * env.twipsPerPixelX, size.height() * env.twipsPerPixelY), env);
    frm->move(int(std::lround(twips.x() / env.twipsPerPixelX)),
              int(std::lround(twips.y() / env.twipsPerPixelY)));
}
