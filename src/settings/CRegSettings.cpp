#include "settings/CRegSettings.h"

#include <QtEndian>

namespace {

// Leading and trailing spaces only; other white space is part of the name.
QString trimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString trimmedOr(const QString& newVal, const QString& fallback) {
    const QString trimmed = trimSpaces(newVal);
    return trimmed.isEmpty() ? fallback : trimmed;
}

// "*" names the key's default (unnamed) value.
QString valueName(const QString& keyName) {
    return keyName == QLatin1String("*") ? QString() : keyName;
}

}  // namespace

CRegSettings::CRegSettings(RegistryStore store, QString appTitle)
    : m_store(std::move(store)), m_appTitle(std::move(appTitle)), m_appName(m_appTitle) {}

void CRegSettings::setMainKey(const QString& newVal) {
    m_mainKey = trimmedOr(newVal, QStringLiteral("Software"));
}

void CRegSettings::setCompany(const QString& newVal) {
    m_company = trimmedOr(newVal, QStringLiteral("Tenvane"));
}

void CRegSettings::setAppName(const QString& newVal) {
    m_appName = trimmedOr(newVal, m_appTitle);
}

QString CRegSettings::buildKeyPath(const QString& sectionName) const {
    QString path = m_mainKey + QLatin1Char('\\') + m_company + QLatin1Char('\\') + m_appName;
    if (!sectionName.isEmpty())
        path += QLatin1Char('\\') + sectionName;
    return path;
}

QString CRegSettings::getSetting(const QString& sectionName, const QString& keyName,
                                 const QString& defaultValue) const {
    const QString path = buildKeyPath(sectionName);
    if (!m_store.keyExists(m_hKey, path))
        return defaultValue;
    const auto value = m_store.queryValue(m_hKey, path, valueName(keyName));
    if (!value || value->data.size() < 1)
        return defaultValue;

    switch (value->type) {
        case RegistryStore::REG_SZ: {
            QByteArray text = value->data;
            if (text.endsWith('\0'))
                text.chop(1);
            return QString::fromUtf8(text);
        }
        case RegistryStore::REG_DWORD:
            if (value->data.size() != 4)
                return defaultValue;
            return QString::number(qFromLittleEndian<qint32>(value->data.constData()));
        default:
            return defaultValue;
    }
}

bool CRegSettings::saveSetting(const QString& sectionName, const QString& keyName,
                               const QString& textValue, qint32 numberValue) {
    const QString path = buildKeyPath(sectionName);
    if (!m_store.createKey(m_hKey, path))
        return false;

    RegistryStore::Value value;
    if (!textValue.isEmpty()) {
        value.type = RegistryStore::REG_SZ;
        value.data = textValue.toUtf8();
    } else {
        value.type = RegistryStore::REG_DWORD;
        value.data.resize(4);
        qToLittleEndian<qint32>(numberValue, value.data.data());
    }
    return m_store.setValue(m_hKey, path, valueName(keyName), value);
}

bool CRegSettings::deleteSetting(const QString& sectionName, const QString& keyName) {
    // Both fail when the key (or the section) is not there.
    if (!keyName.isEmpty())
        return m_store.deleteValue(m_hKey, buildKeyPath(sectionName), valueName(keyName));
    return m_store.deleteKey(m_hKey, buildKeyPath(QString()), sectionName);
}
