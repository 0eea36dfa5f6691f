// Settings that survive a crash: a child process writes and is killed (SIGKILL) at a random
// moment, again and again; every file still parses and every key holds its old or new value.
#include "association/association.h"
#include "association/classesroot.h"
#include "platform/regularfile.h"
#include "settings/inifile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace ovelo;

namespace {

constexpr int kKills = 500;

// Long values, so that a torn write would show as a mix of the two.
QString Value(int key, bool odd) {
    return QString("%1-%2").arg(key).arg(QString(200, odd ? QChar('b') : QChar('a')));
}

// Runs `write(round)` in a child for rounds 0, 1, 2, ... until it is killed after a random
// moment; `check()` runs after each kill.
template <typename Write, typename Check> void KillWhileWriting(Write write, Check check) {
    QRandomGenerator random(500);
    for (int i = 0; i < kKills; ++i) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int round = 0;; ++round)
                write(round);
        }
        QVERIFY(child > 0);
        ::usleep(random.bounded(200, 6000));
        ::kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        check();
        if (QTest::currentTestFailed())
            return;
    }
}

QByteArray Bytes(const QString& path) {
    return ReadRegularFile(path, 1 << 20).value_or(QByteArray());
}

} // namespace

class TestCrashSafety : public QObject {
    Q_OBJECT
  private slots:
    void configKeysAreOldOrNew() {
        QTemporaryDir dir;
        const QString file = dir.filePath("Config.ini");
        const char* keys[] = {"Sound", "Time", "Url", "H", "W"};
        for (int k = 0; k < 5; ++k)
            WriteToIni("Config", keys[k], Value(k, false), file);
        KillWhileWriting(
            [&](int round) {
                for (int k = 0; k < 5; ++k)
                    WriteToIni("Config", keys[k], Value(k, round % 2), file);
            },
            [&] {
                for (int k = 0; k < 5; ++k) {
                    const QString v = GetFromIni("Config", keys[k], file);
                    QVERIFY2(v == Value(k, false) || v == Value(k, true), qPrintable(v));
                }
            });
        // A write cut short leaves a copy beside the file; the next write after a while
        // takes the old ones away, so crashes do not fill the folder.
        const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden)) {
            QFile left(dir.filePath(name));
            QVERIFY(left.open(QIODevice::ReadWrite));
            QVERIFY(left.setFileTime(old, QFileDevice::FileModificationTime));
        }
        WriteToIni("Config", "Sound", "80", file);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), {"Config.ini"});
    }

    // The classes root's store and mimeapps.list, written by the registration at a start.
    void associationFilesAreOldOrNew() {
        QTemporaryDir dir;
        const AssociationPlaces places{dir.filePath("data/Ovelo/classes-root.txt"),
                                       {dir.filePath("data"), dir.filePath("config")}};
        const QString folders[] = {dir.filePath("old"), dir.filePath("new")};
        const QString mimeapps = dir.filePath("config/mimeapps.list");
        const QByteArray other = "[Default Applications]\nvideo/x-flv=other.desktop;\n";
        RegisterFileAssociations(folders[0], folders[0] + "/ovelo", places);
        KillWhileWriting(
            [&](int round) {
                // As another program might: the user's default goes elsewhere, and the next
                // start takes it back.
                WriteFileAtomically(mimeapps, other);
                const QString& folder = folders[round % 2];
                RegisterFileAssociations(folder, folder + "/ovelo", places);
            },
            [&] {
                const std::optional<ClassesRoot> root = ClassesRoot::fromBytes(Bytes(places.store));
                QVERIFY(root);
                const std::optional<QString> command = root->value("flvfile\\shell\\open\\command");
                QVERIFY(command);
                QVERIFY2(command->startsWith(folders[0] + "/") ||
                             command->startsWith(folders[1] + "/"),
                         qPrintable(*command));
                const QByteArray list = Bytes(mimeapps);
                QVERIFY2(list == other || list.contains("video/x-flv=ovelo.desktop;\n"),
                         list.constData());
            });
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
