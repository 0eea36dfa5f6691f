// Files the tests lay out and read back.
#pragma once

#include <QDirIterator>
#include <QProcessEnvironment>
#include <QTemporaryDir>
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

// A copy of the built program folder (executable, control library, data files) at `to`, so a
// test's start of the program writes its settings there and never in the build's own.
inline void CopyProgramFolder(const QString& to) {
    const QString from = QStringLiteral(OVELO_PROGRAM_DIR);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

// The environment of a program started by a test: its home, data, config and cache folders
// under `root`, on X, with the program's own log quiet.
inline QProcessEnvironment ProgramEnvironment(const QTemporaryDir& root) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const QString path = root.filePath(QString("home/") + name);
        QDir().mkpath(path);
        env.insert(name, path);
    }
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("QT_LOGGING_RULES");
    return env;
}
