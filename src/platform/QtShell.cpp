#include "platform/QtShell.h"

#include <QDesktopServices>

bool QtShell::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
