// The updater in the real program, run as a process of its own from a program folder of its own:
// chosen from the menu, it downloads the installer from a server on 127.0.0.1, starts it and
// ends at once with exit code 0, without the writes a close makes to Config.ini.
#include "webserver.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestUpdaterProgram : public QObject {
    Q_OBJECT
  private slots:
    void installerRunsAndTheProgramEndsWithoutSaving() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("program");
        QVERIFY(QDir().mkpath(folder));
        for (const QString name : {"ovelo", "libFlv.so"})
            QVERIFY(QFile::copy(OVELO_PROGRAM_DIR "/" + name, folder + "/" + name));
        WebServer web;
        const QString marker = dir.filePath("installer ran");
        web.answer("/download/Update.txt", 200, "9.9");
        web.answer("/download/Up.exe", 200, "#!/bin/sh\necho ran > '" + marker.toUtf8() + "'\n");
        // Everything a close writes is missing, so any of it would show.
        const QByteArray config = "[Config]\r\nAutoSave=on\r\n[Version]\r\nversion=1.2.0.2250\r\n"
                                  "[Net]\r\nUpdate=" +
                                  web.base().toUtf8() + "\r\n";
        QVERIFY(Write(folder + "/Config.ini", config));

        QProcess ovelo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("OVELO_VIDEO", "null");
        env.insert("XDG_CACHE_HOME", dir.filePath("cache"));
        env.insert("LD_PRELOAD", MENU_USER_LIBRARY);
        ovelo.setProcessEnvironment(env);
        ovelo.setProcessChannelMode(QProcess::ForwardedChannels);
        ovelo.start(folder + "/ovelo", {});
        QVERIFY(ovelo.waitForStarted());
        // The server answers from this process's event loop while the program runs.
        QTRY_VERIFY_WITH_TIMEOUT(ovelo.state() == QProcess::NotRunning, 60000);
        QCOMPARE(ovelo.exitStatus(), QProcess::NormalExit);
        QCOMPARE(ovelo.exitCode(), 0);
        QTRY_VERIFY(QFile::exists(marker));
        QVERIFY(QFile::exists(dir.filePath("cache/Ovelo/Up.exe")));
        QCOMPARE(Contents(folder + "/Config.ini"), config);
    }
};

QTEST_GUILESS_MAIN(TestUpdaterProgram)
#include "tst_updaterprogram.moc"
