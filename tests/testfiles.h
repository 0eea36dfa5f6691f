// Files the tests lay out and read back.
#pragma once

#include <QtTest>

// Writes `bytes` as the whole file `path`; its folder must exist.
inline void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The file's content; empty when it cannot be read.
inline QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
