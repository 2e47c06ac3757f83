#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A per-user tree of keys holding typed values, kept in one file. Every operation reads the
// file afresh; every change rewrites it atomically. A missing or damaged file reads as empty.
// Key paths use "\" between their parts and, like value names, ignore letter case.
class RegistryStore {
public:
    static constexpr int REG_SZ = 1;
    static constexpr int REG_BINARY = 3;
    static constexpr int REG_DWORD = 4;
    static constexpr quint32 HKEY_CURRENT_USER = 0x80000001u;

    struct Value {
        int type = REG_SZ;
        QByteArray data;
    };

    explicit RegistryStore(QString filePath);
    // The user's own store, in the desktop's configuration folder.
    static QString defaultFilePath();
    const QString& filePath() const { return m_filePath; }

    bool keyExists(quint32 root, const QString& path) const;
    // Creates the key and every missing key along its path.
    bool createKey(quint32 root, const QString& path);
    // A value of an existing key; the empty name is the key's default value.
    std::optional<Value> queryValue(quint32 root, const QString& path, const QString& name) const;
    // Writes a value into an existing key.
    bool setValue(quint32 root, const QString& path, const QString& name, const Value& value);
    bool deleteValue(quint32 root, const QString& path, const QString& name);
    // Removes the key `subkey` below `path` with its values; refused while it has subkeys.
    bool deleteKey(quint32 root, const QString& path, const QString& subkey);

private:
    QString m_filePath;
};
