// The classes root of the file associations: keys and their values with the registry's rules,
// kept by the program itself in one small file of the user's, since this system has no registry.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace ovelo {

// Value types, numbered as the registry numbers them.
enum RegType : quint32 {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4
};

// The registry functions' answers.
enum RegError : long {
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_INVALID_HANDLE = 6,
    ERROR_BAD_PATHNAME = 161,
    ERROR_MORE_DATA = 234,
};

// An open key. It holds no resource: closing it only makes it unusable.
struct RegKey {
    QString path; // below the classes root, its parts joined by "\"; "" is the root itself
    bool open = false;
};

class ClassesRoot {
  public:
    // The classes root itself, always open.
    static RegKey Root() { return {QString(), true}; }

    // Opens `subKey` ("a\b\c", relative to `parent`), creating it and the keys on its way when
    // missing. Names are compared without regard to case; a created key keeps the case given.
    long CreateKey(const RegKey& parent, const QString& subKey, RegKey& result);
    // Opens an existing `subKey`; ERROR_FILE_NOT_FOUND when it is missing.
    long OpenKey(const RegKey& parent, const QString& subKey, RegKey& result) const;
    long CloseKey(RegKey& key) const;
    // Stores `data` as it is, with `type`, under `valueName` ("" the key's default value).
    long SetValue(const RegKey& key, const QString& valueName, RegType type, QByteArrayView data);
    // With `data` null: the type and the size only. Otherwise `*size` is the buffer's size in
    // and the data's size out; a buffer too small gives ERROR_MORE_DATA and is left as it was.
    long QueryValue(const RegKey& key, const QString& valueName, quint32* type, char* data,
                    quint32* size) const;

    // The key paths, in the order they were created, each in the case it was created with.
    QStringList KeyPaths() const;
    // The names of a key's values, "" for the default value.
    QStringList ValueNames(const QString& keyPath) const;

    // The store's file content, and back. A text that is not such a content gives nothing.
    QByteArray ToBytes() const;
    static std::optional<ClassesRoot> FromBytes(QByteArrayView bytes);

  private:
    struct Value {
        QString name;
        quint32 type = REG_NONE;
        QByteArray data;
    };
    struct Key {
        QString path;
        std::vector<Value> values;
    };

    const Key* Find(const QString& path) const;
    Key* Find(const QString& path);
    int Create(const QString& path);
    static std::optional<QString> Join(const RegKey& parent, const QString& subKey);

    std::vector<Key> keys_;
    QHash<QString, int> byFoldedPath_;
};

} // namespace ovelo
