#include "settings/UserName.h"

#include "settings/CRegSettings.h"

#include <pwd.h>
#include <unistd.h>

namespace {
const QString kSection = QStringLiteral("Application");
const QString kValue = QStringLiteral("UserName");
// Stored in front of the name, so that an empty name stays a text and "0" stays "0".
const QChar kMark = QLatin1Char('=');
}  // namespace

QString accountUserName() {
    if (const passwd* account = ::getpwuid(::getuid())) {
        const QString fullName =
            QString::fromLocal8Bit(account->pw_gecos ? account->pw_gecos : "").section(',', 0, 0);
        if (!fullName.trimmed().isEmpty()) {
            return fullName.trimmed();
        }
        if (account->pw_name && *account->pw_name) {
            return QString::fromLocal8Bit(account->pw_name);
        }
    }
    return qEnvironmentVariable("USER");
}

QString loadUserName(const CRegSettings& settings) {
    const QString stored = settings.getSetting(kSection, kValue);
    if (stored.startsWith(kMark)) {
        return stored.mid(1);
    }
    return accountUserName();
}

void saveUserName(CRegSettings& settings, const QString& name) {
    settings.saveSetting(kSection, kValue, kMark + name);
}
