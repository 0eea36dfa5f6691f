// The classes root of the file associations: keys and their values with the registry's rules,
// kept by the program itself in one small file of the user's, since this system has no registry.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace ovelo {

// A key is named by its path below the root, "a\b\c", whose parts are never empty and are
// compared without regard to case; so are the names of its values, "" being its default value.
// The root itself holds keys only. The values the program sets are text; values of other types
// come only from a file, and are kept as they were read.
class ClassesRoot {
  public:
    // The text of the value `name` of the key; nothing when either is missing or the value is
    // of another type. A text ends at its first NUL.
    std::optional<QString> value(const QString& keyPath, const QString& name = {}) const;
    // Sets the value `name` of the key to `text`, in place of any value of that name whatever
    // its type, creating the key and the keys on its way when missing: a created key keeps the
    // case given, one that exists keeps its own. A path that names no key changes nothing.
    void setValue(const QString& keyPath, const QString& name, const QString& text);

    bool hasKey(const QString& keyPath) const;
    // The key paths, in the order they were created, each in the case it was created with.
    QStringList keyPaths() const;
    // The names of a key's values, in the order they were first set.
    QStringList valueNames(const QString& keyPath) const;

    // The store's file content, and back. A text that is not such a content gives nothing.
    QByteArray toBytes() const;
    static std::optional<ClassesRoot> fromBytes(QByteArrayView bytes);

  private:
    struct Value {
        QString name;
        quint32 type = 0; // numbered as the registry numbers value types
        QByteArray data;
    };
    struct Key {
        QString path;
        std::vector<Value> values;
    };

    const Key* findKey(const QString& path) const;
    int createKey(const QString& path);

    std::vector<Key> keys_;
    QHash<QString, int> byFoldedPath_;
};

} // namespace ovelo
