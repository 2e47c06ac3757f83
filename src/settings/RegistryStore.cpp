#include "settings/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <vector>

// The file holds one JSON object:
//   { "format": "Plovix registry", "version": 1,
//     "roots": [ { "root": "80000001", "values": [...], "keys": [...] } ] }
// where every key is { "name": ..., "values": [...], "keys": [...] } and every value is
// { "name": ..., "type": <number>, "data": <base64> }. Names keep the case they were first
// written in; lookups ignore case.

namespace {

const QString kFormat = QStringLiteral("Plovix registry");
constexpr int kVersion = 1;

struct Node {
    QString name;
    std::vector<std::pair<QString, RegistryStore::Value>> values;
    std::vector<Node> keys;
};

struct Root {
    quint32 handle = 0;
    Node node;
};

using Tree = std::vector<Root>;

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QStringList splitPath(const QString& path) {
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// ---- reading

bool parseNode(const QJsonObject& obj, bool named, Node& node);

bool parseValues(const QJsonValue& json, Node& node) {
    if (!json.isArray())
        return false;
    for (const QJsonValue& item : json.toArray()) {
        if (!item.isObject())
            return false;
        const QJsonObject obj = item.toObject();
        const QJsonValue name = obj.value(QLatin1String("name"));
        const QJsonValue type = obj.value(QLatin1String("type"));
        const QJsonValue data = obj.value(QLatin1String("data"));
        if (!name.isString() || !type.isDouble() || !data.isString())
            return false;
        const double t = type.toDouble();
        if (t < 0 || t > 0x7fffffff || t != static_cast<double>(static_cast<qint64>(t)))
            return false;
        const auto decoded = QByteArray::fromBase64Encoding(
            data.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return false;
        const QString valueName = name.toString();
        for (const auto& existing : node.values) {
            if (sameName(existing.first, valueName))
                return false;
        }
        node.values.emplace_back(valueName, RegistryStore::Value{static_cast<int>(t), *decoded});
    }
    return true;
}

bool parseKeys(const QJsonValue& json, Node& node) {
    if (!json.isArray())
        return false;
    for (const QJsonValue& item : json.toArray()) {
        if (!item.isObject())
            return false;
        Node child;
        if (!parseNode(item.toObject(), true, child))
            return false;
        for (const Node& existing : node.keys) {
            if (sameName(existing.name, child.name))
                return false;
        }
        node.keys.push_back(std::move(child));
    }
    return true;
}

bool parseNode(const QJsonObject& obj, bool named, Node& node) {
    if (named) {
        const QJsonValue name = obj.value(QLatin1String("name"));
        if (!name.isString())
            return false;
        node.name = name.toString();
        if (node.name.isEmpty() || node.name.contains(QLatin1Char('\\')))
            return false;
    }
    return parseValues(obj.value(QLatin1String("values")), node) &&
           parseKeys(obj.value(QLatin1String("keys")), node);
}

bool parseTree(const QByteArray& bytes, Tree& tree) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject top = doc.object();
    if (top.value(QLatin1String("format")).toString() != kFormat ||
        top.value(QLatin1String("version")).toInt() != kVersion)
        return false;
    const QJsonValue roots = top.value(QLatin1String("roots"));
    if (!roots.isArray())
        return false;
    for (const QJsonValue& item : roots.toArray()) {
        if (!item.isObject())
            return false;
        const QJsonObject obj = item.toObject();
        bool ok = false;
        Root root;
        root.handle = obj.value(QLatin1String("root")).toString().toUInt(&ok, 16);
        if (!ok || !parseNode(obj, false, root.node))
            return false;
        for (const Root& existing : tree) {
            if (existing.handle == root.handle)
                return false;
        }
        tree.push_back(std::move(root));
    }
    return true;
}

// The whole store; empty when the file is missing, unreadable or damaged.
Tree load(const QString& filePath) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Tree tree;
    if (!parseTree(file.readAll(), tree))
        return {};
    return tree;
}

// ---- writing

QJsonObject nodeToJson(const Node& node, bool named) {
    QJsonObject obj;
    if (named)
        obj.insert(QLatin1String("name"), node.name);
    QJsonArray values;
    for (const auto& [name, value] : node.values) {
        QJsonObject v;
        v.insert(QLatin1String("name"), name);
        v.insert(QLatin1String("type"), value.type);
        v.insert(QLatin1String("data"), QString::fromLatin1(value.data.toBase64()));
        values.append(v);
    }
    obj.insert(QLatin1String("values"), values);
    QJsonArray keys;
    for (const Node& child : node.keys)
        keys.append(nodeToJson(child, true));
    obj.insert(QLatin1String("keys"), keys);
    return obj;
}

bool save(const QString& filePath, const Tree& tree) {
    QJsonArray roots;
    for (const Root& root : tree) {
        QJsonObject obj = nodeToJson(root.node, false);
        obj.insert(QLatin1String("root"),
                   QStringLiteral("%1").arg(root.handle, 8, 16, QLatin1Char('0')).toUpper());
        roots.append(obj);
    }
    QJsonObject top;
    top.insert(QLatin1String("format"), kFormat);
    top.insert(QLatin1String("version"), kVersion);
    top.insert(QLatin1String("roots"), roots);

    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(filePath);
    // Unbuffered, so that a write that fails (a full disk) is seen before commit() puts the
    // file in place: a failure left in the buffer would replace the settings with a short file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = QJsonDocument(top).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

// ---- finding keys and values

Node* findChild(Node& node, const QString& name) {
    for (Node& child : node.keys) {
        if (sameName(child.name, name))
            return &child;
    }
    return nullptr;
}

Node* findRoot(Tree& tree, quint32 handle) {
    for (Root& root : tree) {
        if (root.handle == handle)
            return &root.node;
    }
    return nullptr;
}

Node& ensureRoot(Tree& tree, quint32 handle) {
    if (Node* node = findRoot(tree, handle))
        return *node;
    tree.push_back(Root{handle, {}});
    return tree.back().node;
}

Node* findKey(Tree& tree, quint32 handle, const QStringList& parts) {
    Node* node = findRoot(tree, handle);
    for (const QString& part : parts) {
        if (!node)
            return nullptr;
        node = findChild(*node, part);
    }
    return node;
}

Node* findKey(Tree& tree, quint32 handle, const QString& path) {
    return findKey(tree, handle, splitPath(path));
}

auto findValue(Node& node, const QString& name) {
    auto it = node.values.begin();
    while (it != node.values.end() && !sameName(it->first, name))
        ++it;
    return it;
}

}  // namespace

RegistryStore::RegistryStore(QString filePath) : m_filePath(std::move(filePath)) {}

QString RegistryStore::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tenvane/Plovix/registry.json");
}

bool RegistryStore::keyExists(quint32 root, const QString& path) const {
    Tree tree = load(m_filePath);
    const QStringList parts = splitPath(path);
    // A root key always exists, even before anything has been written below it.
    return parts.isEmpty() || findKey(tree, root, parts) != nullptr;
}

bool RegistryStore::createKey(quint32 root, const QString& path) {
    Tree tree = load(m_filePath);
    Node* node = &ensureRoot(tree, root);
    bool changed = false;
    for (const QString& part : splitPath(path)) {
        Node* child = findChild(*node, part);
        if (!child) {
            node->keys.push_back(Node{part, {}, {}});
            child = &node->keys.back();
            changed = true;
        }
        node = child;
    }
    return !changed || save(m_filePath, tree);
}

std::optional<RegistryStore::Value> RegistryStore::queryValue(quint32 root, const QString& path,
                                                              const QString& name) const {
    Tree tree = load(m_filePath);
    Node* node = findKey(tree, root, path);
    if (!node)
        return std::nullopt;
    const auto it = findValue(*node, name);
    if (it == node->values.end())
        return std::nullopt;
    return it->second;
}

bool RegistryStore::setValue(quint32 root, const QString& path, const QString& name,
                             const Value& value) {
    Tree tree = load(m_filePath);
    ensureRoot(tree, root);  // values may sit on a root key itself
    Node* node = findKey(tree, root, path);
    if (!node)
        return false;
    const auto it = findValue(*node, name);
    if (it == node->values.end())
        node->values.emplace_back(name, value);
    else
        it->second = value;
    return save(m_filePath, tree);
}

bool RegistryStore::deleteValue(quint32 root, const QString& path, const QString& name) {
    Tree tree = load(m_filePath);
    Node* node = findKey(tree, root, path);
    if (!node)
        return false;
    const auto it = findValue(*node, name);
    if (it == node->values.end())
        return false;
    node->values.erase(it);
    return save(m_filePath, tree);
}

bool RegistryStore::deleteKey(quint32 root, const QString& path, const QString& subkey) {
    // `subkey` may itself run over several levels; the last of them is the one removed.
    const QStringList below = splitPath(subkey);
    if (below.isEmpty())
        return false;
    QStringList parts = splitPath(path) + below;
    const QString last = parts.takeLast();
    Tree tree = load(m_filePath);
    Node* parent = findKey(tree, root, parts);
    if (!parent)
        return false;
    for (auto it = parent->keys.begin(); it != parent->keys.end(); ++it) {
        if (!sameName(it->name, last))
            continue;
        if (!it->keys.empty())
            return false;
        parent->keys.erase(it);
        return save(m_filePath, tree);
    }
    return false;
}
