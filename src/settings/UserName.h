#pragma once

#include <QString>

class CRegSettings;

// The owner's name shown in the titles of the printed list, the web page and the statistics.
// Kept in the settings store (section "Application", value "UserName"); until the owner sets it,
// the account's full name, or its login name when it has none.
QString accountUserName();
QString loadUserName(const CRegSettings& settings);
void saveUserName(CRegSettings& settings, const QString& name);
