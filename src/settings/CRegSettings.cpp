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
QString valueName(const QString& sKey) {
    return sKey == QLatin1String("*") ? QString() : sKey;
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

QString CRegSettings::buildKeyPath(const QString& sSection) const {
    QString path = m_mainKey + QLatin1Char('\\') + m_company + QLatin1Char('\\') + m_appName;
    if (!sSection.isEmpty())
        path += QLatin1Char('\\') + sSection;
    return path;
}

QString CRegSettings::getSetting(const QString& sSection, const QString& sKey,
                                 const QString& sDefault) const {
    const QString path = buildKeyPath(sSection);
    if (!m_store.keyExists(m_hKey, path))
        return sDefault;
    const auto value = m_store.queryValue(m_hKey, path, valueName(sKey));
    if (!value || value->data.size() < 1)
        return sDefault;

    switch (value->type) {
        case RegistryStore::REG_SZ: {
            QByteArray text = value->data;
            if (text.endsWith('\0'))
                text.chop(1);
            return QString::fromUtf8(text);
        }
        case RegistryStore::REG_DWORD:
            if (value->data.size() != 4)
                return sDefault;
            return QString::number(qFromLittleEndian<qint32>(value->data.constData()));
        default:
            return sDefault;
    }
}

bool CRegSettings::saveSetting(const QString& sSection, const QString& sKey, const QString& sString,
                               qint32 lNumber) {
    const QString path = buildKeyPath(sSection);
    if (!m_store.createKey(m_hKey, path))
        return false;

    RegistryStore::Value value;
    if (!sString.isEmpty()) {
        value.type = RegistryStore::REG_SZ;
        value.data = sString.toUtf8();
    } else {
        value.type = RegistryStore::REG_DWORD;
        value.data.resize(4);
        qToLittleEndian<qint32>(lNumber, value.data.data());
    }
    return m_store.setValue(m_hKey, path, valueName(sKey), value);
}

bool CRegSettings::deleteSetting(const QString& sSection, const QString& sKey) {
    // Both fail when the key (or the section) is not there.
    if (!sKey.isEmpty())
        return m_store.deleteValue(m_hKey, buildKeyPath(sSection), valueName(sKey));
    return m_store.deleteKey(m_hKey, buildKeyPath(QString()), sSection);
}
