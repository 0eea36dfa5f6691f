// The registration as the desktop sees it: the files in the user's folders, what the desktop's
// own tools answer after a start of the program, and what may go wrong on the way.
#include "association/association.h"
#include "association/classesroot.h"
#include "testfiles.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <unistd.h>

using namespace ovelo;

namespace {

// A file, and the folders on its way.
void Lay(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    Put(path, bytes);
}

bool Have(const char* tool) {
    return !QStandardPaths::findExecutable(tool).isEmpty();
}

// The user's folders of one test, and its program.
struct User {
    // The tools started by a registration are done before their folders go.
    ~User() {
        [[maybe_unused]] const bool done = QTest::qWaitFor([this] { return indexed(); });
    }
    QTemporaryDir dir;
    QString data() const { return dir.filePath("data"); }
    QString config() const { return dir.filePath("config"); }
    QString store() const { return data() + "/Ovelo/classes-root.txt"; }
    QString entry() const { return data() + "/applications/ovelo.desktop"; }
    QString mimeapps() const { return config() + "/mimeapps.list"; }
    AssociationPlaces places() const { return {store(), {data(), config()}}; }
    // The last file each of the desktop's index tools writes, on its own, after a registration.
    QStringList indexes() const {
        QStringList made;
        if (Have("update-mime-database"))
            made << data() + "/mime/version";
        if (Have("update-desktop-database"))
            made << data() + "/applications/mimeinfo.cache";
        return made;
    }
    bool indexed() const {
        const QStringList made = indexes();
        return std::all_of(made.begin(), made.end(),
                           [](const QString& path) { return QFileInfo::exists(path); });
    }
    void registerProgram(const QString& executable = "/opt/Ovelo/ovelo") const {
        RegisterFileAssociations(QFileInfo(executable).path(), executable, places());
    }
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", data());
        env.insert("XDG_CONFIG_HOME", config());
        return env;
    }
    // What a desktop tool answers with these folders.
    QString ask(const QString& tool, const QStringList& arguments,
                const QString& desktop = {}) const {
        QProcessEnvironment env = environment();
        if (!desktop.isEmpty())
            env.insert("XDG_CURRENT_DESKTOP", desktop);
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(tool, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
};

QString ExecLine(const QByteArray& entry) {
    for (const QByteArray& line : entry.split('\n'))
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line);
    return {};
}

} // namespace

class TestAssociationDesktop : public QObject {
    Q_OBJECT
  private slots:
    void filesOfOneRegistration() {
        User user;
        user.registerProgram();
        QVERIFY(QFileInfo::exists(user.store()));
        const QByteArray entry = Bytes(user.entry());
        QCOMPARE(ExecLine(entry), "Exec=/opt/Ovelo/ovelo %f");
        QVERIFY(entry.contains("\nIcon=/opt/Ovelo/files.ico\n"));
        QVERIFY(Bytes(user.data() + "/mime/packages/ovelo-f4v.xml").contains("video/x-f4v"));
        QCOMPARE(Bytes(user.mimeapps()), QByteArray("[Default Applications]\n"
                                                    "video/x-flv=ovelo.desktop;\n"
                                                    "video/x-f4v=ovelo.desktop;\n"));
        if (Have("desktop-file-validate")) {
            QProcess validate;
            validate.start("desktop-file-validate", {user.entry()});
            QVERIFY(validate.waitForFinished());
            QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());
        }
    }

    // A start where nothing changed writes nothing and takes next to no time.
    void unchangedStartWritesNothing() {
        User user;
        Lay(user.mimeapps(), "# mine\n[Default Applications]\ntext/plain=gedit.desktop;\n");
        user.registerProgram();
        // The first start's tools have done their work: the starts measured have none to do.
        QTRY_VERIFY_WITH_TIMEOUT(user.indexed(), 10000);
        const QStringList files = {user.store(), user.entry(), user.mimeapps(),
                                   user.data() + "/mime/packages/ovelo-f4v.xml"};
        const QDateTime old = QDateTime::currentDateTime().addDays(-1);
        for (const QString& path : files) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QList<qint64> times;
        for (int i = 0; i < 21; ++i) {
            QElapsedTimer timer;
            timer.start();
            user.registerProgram();
            times << timer.nsecsElapsed() / 1000;
        }
        std::sort(times.begin(), times.end());
        qInfo("registration with nothing to change: median %lld us, slowest %lld us", times[10],
              times.last());
        for (const QString& path : files)
            QVERIFY2(QFileInfo(path).lastModified() == old, qPrintable(path));
        QCOMPARE(Bytes(user.mimeapps()), QByteArray("# mine\n[Default Applications]\n"
                                                    "text/plain=gedit.desktop;\n"
                                                    "video/x-flv=ovelo.desktop;\n"
                                                    "video/x-f4v=ovelo.desktop;\n"));
        // Far above the few milliseconds it takes, to stay clear of a busy machine.
        QVERIFY(times[10] < 50000);
    }

    void damagedStoreIsReplaced() {
        User user;
        Lay(user.store(), "Ovelo classes root\n[flvfile]\n@=1:%zz\n");
        user.registerProgram();
        const std::optional<ClassesRoot> root = ClassesRoot::fromBytes(Bytes(user.store()));
        QVERIFY(root);
        QCOMPARE(root->value("flvfile\\shell\\open\\command").value_or("<none>"),
                 "/opt/Ovelo/ovelo %1");
    }

    // Folders that cannot be written leave things as they were, and the rest is still done.
    void unwritableFolders() {
        User user;
        Lay(user.config(), "a file where the folder should be");
        Lay(user.data() + "/Ovelo", "a file where the folder should be");
        user.registerProgram();
        QCOMPARE(Bytes(user.config()), QByteArray("a file where the folder should be"));
        QVERIFY(ExecLine(Bytes(user.entry())).startsWith("Exec=/opt/Ovelo/ovelo"));
    }

    void readOnlyConfigFolder() {
        if (geteuid() == 0)
            QSKIP("a read-only folder does not stop the superuser");
        User user;
        const QByteArray mine = "[Default Applications]\nvideo/x-flv=vlc.desktop;\n";
        Lay(user.mimeapps(), mine);
        QFile::setPermissions(user.config(), QFile::ReadOwner | QFile::ExeOwner);
        user.registerProgram();
        QFile::setPermissions(user.config(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(Bytes(user.mimeapps()), mine);
        QCOMPARE(QDir(user.config()).entryList(QDir::Files), QStringList{"mimeapps.list"});
        QVERIFY(QFileInfo::exists(user.entry()));
    }

    // The entry runs the executable through a path with blanks and quotes in it, as a desktop
    // launches it.
    void entryLaunchesThroughOddPath() {
        if (!Have("gio"))
            QSKIP("gio is not installed");
        User user;
        const QString executable = user.dir.filePath("My \"Apps\"/o v$elo");
        const QString argumentsFile = user.dir.filePath("arguments");
        Lay(executable, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + argumentsFile.toUtf8() + "'\n");
        QFile::setPermissions(executable, QFile::ReadOwner | QFile::ExeOwner);
        user.registerProgram(executable);
        const QString video = user.dir.filePath("a b.flv");
        Lay(video, "FLV");
        user.ask("gio", {"launch", user.entry(), video});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(argumentsFile), 10000);
        QTRY_COMPARE(Bytes(argumentsFile), video.toUtf8() + '\n');
    }

    // One start of the program, then the desktop's own tools.
    void startOfTheProgram() {
        if (!Have("xdg-mime"))
            QSKIP("xdg-utils is not installed");
        User user;
        QProcessEnvironment env = user.environment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name); // without a display the program ends after its file
        env.insert("OVELO_VIDEO", "null");
        const QString folder = user.dir.filePath("program");
        CopyProgramFolder(folder);
        const QString executable = folder + "/ovelo";
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(executable, {user.dir.filePath("missing.flv")});
        QVERIFY(program.waitForFinished(60000));
        QVERIFY(program.readAllStandardOutput().contains("state: FlvNotFound"));

        // The index tools run on their own and may outlive the program by a little.
        QTRY_VERIFY_WITH_TIMEOUT(user.indexed(), 10000);
        QCOMPARE(user.ask("xdg-mime", {"query", "default", "video/x-flv"}), "ovelo.desktop");
        QCOMPARE(user.ask("xdg-mime", {"query", "default", "video/x-f4v"}), "ovelo.desktop");
        QCOMPARE(ExecLine(Bytes(user.entry())), "Exec=" + executable + " %f");
        // The type of a .f4v by its name, as a desktop's own type lookup answers it.
        const QString f4v = user.dir.filePath("x.f4v");
        QVERIFY(QFile::copy(TEST_MEDIA_DIR "/h264_aac.f4v", f4v));
        QCOMPARE(user.ask("xdg-mime", {"query", "filetype", f4v}, "GNOME"), "video/x-f4v");
        // The icons the association names are shipped with the program.
        const QByteArray store = Bytes(user.store());
        for (const char* icon : {"/files.ico", "/Img/Flv.ico", "/Img/F4v.ico"})
            QVERIFY2(QFileInfo::exists(folder + icon), icon);
        QVERIFY(store.contains((folder + "/files.ico").toUtf8()));
    }
};

QTEST_GUILESS_MAIN(TestAssociationDesktop)
#include "tst_association_desktop.moc"
