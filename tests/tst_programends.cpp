// The real program, run as a process from a program folder of its own: the signals of a
// session's end run the close sequence as 退出 does, and the headless run ends by itself.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ProgramFolder {
    explicit ProgramFolder(bool withControl = true) {
        QDir().mkpath(path());
        QStringList names{"ovelo"};
        if (withControl)
            names << "libFlv.so";
        for (const QString& name : names)
            ok = QFile::copy(OVELO_PROGRAM_DIR "/" + name, path() + "/" + name) && ok;
    }
    QString path() const { return dir.filePath("program"); }
    QString config() const { return path() + "/Config.ini"; }

    // A display is named but the platform draws nowhere: still headless.
    void start(QProcess& program, const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("DISPLAY", ":77");
        env.insert("OVELO_VIDEO", "null");
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        program.setProcessEnvironment(env);
        program.start(path() + "/ovelo", arguments);
    }

    QTemporaryDir dir;
    bool ok = true;
};

bool Reported(QProcess& program, QByteArray& out, const QByteArray& line) {
    out += program.readAllStandardOutput();
    return out.contains(line);
}

} // namespace

class TestProgramEnds : public QObject {
    Q_OBJECT
  private slots:
    void signalRunsTheCloseSequence_data() {
        QTest::addColumn<int>("sig");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void signalRunsTheCloseSequence() {
        QFETCH(int, sig);
        ProgramFolder folder;
        QVERIFY(folder.ok);
        QProcess program;
        folder.start(program, {});
        QByteArray out;
        // Without a file the program waits, as a user would before opening one.
        QTRY_VERIFY_WITH_TIMEOUT(Reported(program, out, "state: Play"), 20000);
        QVERIFY(!QFile::exists(folder.config()));
        ::kill(pid_t(program.processId()), sig);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QByteArray config = Contents(folder.config());
        for (const char* key : {"Sound=80", "Time=0", "Url=", "H=", "W="})
            QVERIFY2(config.contains(key), config.constData());
    }

    // A second signal while the first one's close runs ends the process at once.
    void secondSignalEndsAtOnce() {
        ProgramFolder folder;
        QProcess program;
        folder.start(program, {});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT(Reported(program, out, "state: Play"), 20000);
        // Two of a kind sent at once would merge into one pending signal. Any of the program's
        // threads may take either one, so which of the two comes second is not fixed.
        ::kill(pid_t(program.processId()), SIGHUP);
        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::CrashExit);
        QVERIFY2(program.exitCode() == SIGTERM || program.exitCode() == SIGHUP,
                 qPrintable(QString::number(program.exitCode())));
    }

    void headlessRunEndsAfterTheFile() {
        ProgramFolder folder;
        QProcess program;
        folder.start(program, {TEST_MEDIA_DIR "/short_h264.flv"});
        QVERIFY(program.waitForFinished(30000));
        const QByteArray out = program.readAllStandardOutput();
        QVERIFY2(out.contains("state: Play\n"), out.constData());
        QVERIFY2(out.contains("unloaded"), out.constData());
        QCOMPARE(program.exitCode(), 0);
    }

    void headlessRunWithoutTheControlEnds() {
        ProgramFolder folder(false);
        QProcess program;
        folder.start(program, {TEST_MEDIA_DIR "/short_h264.flv"});
        QVERIFY(program.waitForFinished(30000));
        const QByteArray out = program.readAllStandardOutput();
        QVERIFY2(out.contains("state: FlvNotFound"), out.constData());
    }
};

QTEST_GUILESS_MAIN(TestProgramEnds)
#include "tst_programends.moc"
