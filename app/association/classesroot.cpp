#include "classesroot.h"

#include <algorithm>
#include <cstring>

namespace ovelo {

namespace {

constexpr char kHeader[] = "Ovelo classes root";
constexpr char kDefaultName[] = "@";

QString Folded(const QString& path) {
    return path.toCaseFolded();
}

// Names, paths and data stay readable; what would break a line or its parts is written %XX.
bool NeedsEscape(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7f || std::strchr("%=[]@", c) != nullptr;
}

QByteArray Escaped(QByteArrayView bytes) {
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        if (NeedsEscape(c))
            out.append('%').append(QByteArray::number(static_cast<unsigned char>(c), 16)
                                       .rightJustified(2, '0')
                                       .toUpper());
        else
            out.append(c);
    }
    return out;
}

std::optional<QByteArray> Unescaped(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.append(text[i]);
            continue;
        }
        bool ok = false;
        const int byte = i + 2 < text.size() ? text.sliced(i + 1, 2).toInt(&ok, 16) : 0;
        if (!ok)
            return std::nullopt;
        out.append(char(byte));
        i += 2;
    }
    return out;
}

bool ValidPath(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('\\'));
    return std::none_of(parts.begin(), parts.end(), [](const QString& p) { return p.isEmpty(); });
}

} // namespace

std::optional<QString> ClassesRoot::Join(const RegKey& parent, const QString& subKey) {
    if (subKey.isEmpty())
        return parent.path;
    if (!ValidPath(subKey))
        return std::nullopt;
    return parent.path.isEmpty() ? subKey : parent.path + QLatin1Char('\\') + subKey;
}

const ClassesRoot::Key* ClassesRoot::Find(const QString& path) const {
    const auto it = byFoldedPath_.constFind(Folded(path));
    return it == byFoldedPath_.cend() ? nullptr : &keys_[size_t(*it)];
}

ClassesRoot::Key* ClassesRoot::Find(const QString& path) {
    return const_cast<Key*>(std::as_const(*this).Find(path));
}

// The key keeps the case of its first creation; the keys on its way are made first.
int ClassesRoot::Create(const QString& path) {
    if (const auto it = byFoldedPath_.constFind(Folded(path)); it != byFoldedPath_.cend())
        return *it;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    QString full = path;
    if (cut > 0) {
        const Key& parent = keys_[size_t(Create(path.first(cut)))];
        full = parent.path + path.sliced(cut);
    }
    keys_.push_back({full, {}});
    const int index = int(keys_.size()) - 1;
    byFoldedPath_.insert(Folded(full), index);
    return index;
}

long ClassesRoot::CreateKey(const RegKey& parent, const QString& subKey, RegKey& result) {
    if (!parent.open)
        return ERROR_INVALID_HANDLE;
    const std::optional<QString> path = Join(parent, subKey);
    if (!path)
        return ERROR_BAD_PATHNAME;
    if (!path->isEmpty())
        Create(*path);
    result = {*path, true};
    return ERROR_SUCCESS;
}

long ClassesRoot::OpenKey(const RegKey& parent, const QString& subKey, RegKey& result) const {
    if (!parent.open)
        return ERROR_INVALID_HANDLE;
    const std::optional<QString> path = Join(parent, subKey);
    if (!path)
        return ERROR_BAD_PATHNAME;
    if (!path->isEmpty() && !Find(*path))
        return ERROR_FILE_NOT_FOUND;
    result = {*path, true};
    return ERROR_SUCCESS;
}

long ClassesRoot::CloseKey(RegKey& key) const {
    if (!key.open)
        return ERROR_INVALID_HANDLE;
    key.open = false;
    return ERROR_SUCCESS;
}

long ClassesRoot::SetValue(const RegKey& key, const QString& valueName, RegType type,
                           QByteArrayView data) {
    if (!key.open)
        return ERROR_INVALID_HANDLE;
    // The root itself holds keys only.
    Key* stored = Find(key.path);
    if (!stored)
        return ERROR_FILE_NOT_FOUND;
    for (Value& value : stored->values) {
        if (value.name.compare(valueName, Qt::CaseInsensitive) == 0) {
            value.type = type;
            value.data = data.toByteArray();
            return ERROR_SUCCESS;
        }
    }
    stored->values.push_back({valueName, type, data.toByteArray()});
    return ERROR_SUCCESS;
}

long ClassesRoot::QueryValue(const RegKey& key, const QString& valueName, quint32* type, char* data,
                             quint32* size) const {
    if (!key.open)
        return ERROR_INVALID_HANDLE;
    const Key* stored = Find(key.path);
    if (!stored)
        return ERROR_FILE_NOT_FOUND;
    for (const Value& value : stored->values) {
        if (value.name.compare(valueName, Qt::CaseInsensitive) != 0)
            continue;
        if (type)
            *type = value.type;
        const auto needed = quint32(value.data.size());
        if (data && (!size || *size < needed)) {
            if (size)
                *size = needed;
            return ERROR_MORE_DATA;
        }
        if (data)
            std::memcpy(data, value.data.constData(), needed);
        if (size)
            *size = needed;
        return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

QStringList ClassesRoot::KeyPaths() const {
    QStringList paths;
    for (const Key& key : keys_)
        paths << key.path;
    return paths;
}

QStringList ClassesRoot::ValueNames(const QString& keyPath) const {
    QStringList names;
    if (const Key* key = Find(keyPath))
        for (const Value& value : key->values)
            names << value.name;
    return names;
}

QByteArray ClassesRoot::ToBytes() const {
    QByteArray out = QByteArray(kHeader) + '\n';
    for (const Key& key : keys_) {
        out += '[' + Escaped(key.path.toUtf8()) + "]\n";
        for (const Value& value : key.values) {
            out += value.name.isEmpty() ? QByteArray(kDefaultName) : Escaped(value.name.toUtf8());
            out += '=' + QByteArray::number(value.type) + ':' + Escaped(value.data) + '\n';
        }
    }
    return out;
}

std::optional<ClassesRoot> ClassesRoot::FromBytes(QByteArrayView bytes) {
    QList<QByteArrayView> lines;
    for (qsizetype from = 0; from < bytes.size();) {
        const qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            return std::nullopt; // cut short
        lines << bytes.sliced(from, end - from);
        from = end + 1;
    }
    if (lines.isEmpty() || lines.takeFirst() != kHeader)
        return std::nullopt;
    ClassesRoot root;
    Key* current = nullptr;
    for (const QByteArrayView line : lines) {
        if (line.startsWith('[') && line.endsWith(']')) {
            const std::optional<QByteArray> path = Unescaped(line.sliced(1, line.size() - 2));
            const QString name = path ? QString::fromUtf8(*path) : QString();
            if (!ValidPath(name) || root.Find(name))
                return std::nullopt;
            current = &root.keys_[size_t(root.Create(name))];
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        const qsizetype colon = line.indexOf(':', equals + 1);
        if (!current || equals < 0 || colon < 0)
            return std::nullopt;
        bool typeOk = false;
        const quint32 type = line.sliced(equals + 1, colon - equals - 1).toUInt(&typeOk);
        const QByteArrayView name = line.first(equals);
        const std::optional<QByteArray> rawName = Unescaped(name);
        const std::optional<QByteArray> data = Unescaped(line.sliced(colon + 1));
        if (!typeOk || !rawName || !data)
            return std::nullopt;
        current->values.push_back(
            {name == kDefaultName ? QString() : QString::fromUtf8(*rawName), type, *data});
    }
    return root;
}

} // namespace ovelo
