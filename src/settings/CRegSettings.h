#pragma once

#include "settings/RegistryStore.h"

#include <QString>

// The program's per-user settings: one named value per setting, in one subkey per section
// below MainKey\Company\AppName. A value name of "*" stands for the subkey's default value.
// No operation raises or shows anything: failed reads give the default, failed writes false.
class CRegSettings {
public:
    explicit CRegSettings(RegistryStore store, QString appTitle = QStringLiteral("Plovix"));

    quint32 hKey() const { return m_hKey; }
    void setHKey(quint32 newVal) { m_hKey = newVal; }
    QString mainKey() const { return m_mainKey; }
    void setMainKey(const QString& newVal);
    QString company() const { return m_company; }
    void setCompany(const QString& newVal);
    QString appName() const { return m_appName; }
    void setAppName(const QString& newVal);

    // The stored value as text (REG_SZ as it is, REG_DWORD as a signed decimal), or defaultValue.
    QString getSetting(const QString& sectionName, const QString& keyName,
                       const QString& defaultValue = {}) const;
    // Stores textValue as REG_SZ when it is not empty, otherwise numberValue as REG_DWORD.
    bool saveSetting(const QString& sectionName, const QString& keyName,
                     const QString& textValue = {}, qint32 numberValue = 0);
    // Deletes the value keyName, or the whole section when keyName is empty.
    bool deleteSetting(const QString& sectionName, const QString& keyName = {});

    const RegistryStore& store() const { return m_store; }

private:
    QString buildKeyPath(const QString& sectionName) const;

    RegistryStore m_store;
    QString m_appTitle;
    quint32 m_hKey = RegistryStore::HKEY_CURRENT_USER;
    QString m_mainKey = QStringLiteral("Software");
    QString m_company = QStringLiteral("Tenvane");
    QString m_appName;
};
