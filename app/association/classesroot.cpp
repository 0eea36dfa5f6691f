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

// Value names, like key names, are compared without regard to case.
auto WithName(const QString& name) {
    return [&name](const auto& value) { return !value.name.compare(name, Qt::CaseInsensitive); };
}

// Text is stored as the registry's string type in the system code page, which is UTF-8 here,
// with the NUL that ends it; a reading stops at the first NUL, wherever the data has one.
constexpr quint32 kTextType = 1;

QByteArray TextData(const QString& text) {
    return text.toUtf8() + '\0';
}

QString TextOf(const QByteArray& data) {
    const QString text = QString::fromUtf8(data);
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.first(nul);
}

} // namespace

const ClassesRoot::Key* ClassesRoot::findKey(const QString& path) const {
    const auto it = byFoldedPath_.constFind(Folded(path));
    return it == byFoldedPath_.cend() ? nullptr : &keys_[size_t(*it)];
}

// The key keeps the case of its first creation; the keys on its way are made first.
int ClassesRoot::createKey(const QString& path) {
    if (const auto it = byFoldedPath_.constFind(Folded(path)); it != byFoldedPath_.cend())
        return *it;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    QString full = path;
    if (cut > 0) {
        const Key& parent = keys_[size_t(createKey(path.first(cut)))];
        full = parent.path + path.sliced(cut);
    }
    keys_.push_back({full, {}});
    const int index = int(keys_.size()) - 1;
    byFoldedPath_.insert(Folded(full), index);
    return index;
}

std::optional<QString> ClassesRoot::value(const QString& keyPath, const QString& name) const {
    const Key* key = findKey(keyPath);
    if (!key)
        return std::nullopt;
    const auto value = std::find_if(key->values.begin(), key->values.end(), WithName(name));
    if (value == key->values.end() || value->type != kTextType)
        return std::nullopt;
    return TextOf(value->data);
}

void ClassesRoot::setValue(const QString& keyPath, const QString& name, const QString& text) {
    if (!ValidPath(keyPath))
        return;
    std::vector<Value>& values = keys_[size_t(createKey(keyPath))].values;
    const auto value = std::find_if(values.begin(), values.end(), WithName(name));
    if (value == values.end()) {
        values.push_back({name, kTextType, TextData(text)});
        return;
    }
    // A value of another type becomes text, under the name it has.
    value->type = kTextType;
    value->data = TextData(text);
}

bool ClassesRoot::hasKey(const QString& keyPath) const {
    return findKey(keyPath) != nullptr;
}

QStringList ClassesRoot::keyPaths() const {
    QStringList paths;
    for (const Key& key : keys_)
        paths << key.path;
    return paths;
}

QStringList ClassesRoot::valueNames(const QString& keyPath) const {
    QStringList names;
    if (const Key* key = findKey(keyPath))
        for (const Value& value : key->values)
            names << value.name;
    return names;
}

QByteArray ClassesRoot::toBytes() const {
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

std::optional<ClassesRoot> ClassesRoot::fromBytes(QByteArrayView bytes) {
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
            if (!ValidPath(name) || root.findKey(name))
                return std::nullopt;
            current = &root.keys_[size_t(root.createKey(name))];
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
