// The settings file: reading and writing Config.ini as Windows does, and the program folder.
#include "platform/codepage.h"
#include "platform/programfolder.h"
#include "settings/inifile.h"
#include "testfiles.h"
#include "testguards.h"

#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using ovelo::GetFromIni;
using ovelo::WriteToIni;

namespace {

QByteArray Repeat(const char* s, int n) {
    return QByteArray(s).repeated(n);
}

// Bytes with NULs in them.
template <size_t N> QByteArray Raw(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}

void ReadRow(const char* name, const QByteArray& file, const QString& key, const QString& value) {
    QTest::newRow(name) << file << key << value;
}

void WriteRow(const char* name, const QByteArray& before, const QString& section,
              const QString& key, const QString& value, const QByteArray& after) {
    QTest::newRow(name) << before << section << key << value << after;
}

bool HasLineBreak(const QString& s) {
    return s.contains('\n') || s.contains('\r');
}

QString Chinese(int n) {
    return QString("中").repeated(n);
}

// 视频播放器 in code page 936.
const QByteArray kTitle936("\xCA\xD3\xC6\xB5\xB2\xA5\xB7\xC5\xC6\xF7");

// What a path is, seen without following it: type, size and where a link points.
QString Describe(const QString& path) {
    struct stat info {};
    lstat(QFile::encodeName(path).constData(), &info);
    return QString("%1 %2 %3")
        .arg(info.st_mode & S_IFMT)
        .arg(info.st_size)
        .arg(QFileInfo(path).symLinkTarget());
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString ini() const { return dir_.filePath("Config.ini"); }

  private slots:
    void reads_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        ReadRow("case", "[a]\r\nSOUND=On\r\n", "sound", "On");
        ReadRow("first key", "[A]\nk=1\nk=2\n", "k", "1");
        ReadRow("later section copy", "[A]\nk=1\n[B]\n[a]\nj=2\n", "j", "");
        ReadRow("blanks", "[ A ]x\n \t k\v = \t v w \t\n", "k", "v w");
        ReadRow("quotes", "[A]\nk= \" v \" \n", "k", " v ");
        ReadRow("one pair", "[A]\nk='\"v\"'\n", "k", "\"v\"");
        ReadRow("odd quotes", "[A]\nk=\"v'\n", "k", "\"v'");
        ReadRow("comment", "[A]\n ;k=1\nk=a;b\n", "k", "a;b");
        ReadRow("before sections", "k=1\n[A]\n", "k", "");
        ReadRow("no equals", "[A]\nk\nk=2=3\n", "k", "2=3");
        ReadRow("CR", "[A]\rk=1\rj=2", "j", "2");
        ReadRow("UTF-8 mark", "\xEF\xBB\xBF[A]\nk=1", "k", "1");
        ReadRow("UTF-16", Raw("\xFF\xFE[\0A\0]\0\n\0k\0=\0\x2d\x4e"), "k", "中");
        ReadRow("936", "[A]\r\nk=\xD6\xD0\xCE\xC4\r\n", "k", "中文");
        ReadRow("936 odd bytes", "[A]\nk=\x80\xD7\xFA\xFF\xD6\xD0\xCE", "k", "€??中?");
        ReadRow("936 stray lead", "[A]\nk=\xD6\nj=1\n", "j", "1");
        ReadRow("junk", Raw("\0\xFF\x01[A\n\0k=\0\n[A]\n=\nk=\0x"), "k", QString(QChar(0)) + "x");
        ReadRow("254 bytes", "[A]\nk=" + Repeat("a", 255), "k", QString(Repeat("a", 254)));
        ReadRow("127 Chinese", "[A]\nk=" + Repeat("中", 127), "k", Chinese(127));
        ReadRow("128 Chinese", "[A]\nk=" + Repeat("中", 128), "k", Chinese(127));
        ReadRow("128 in 936", "[A]\nk=" + Repeat("\xD6\xD0", 128), "k", Chinese(127));
        ReadRow("mixed whole", "[A]\nk=ab" + Repeat("中", 126), "k", "ab" + Chinese(126));
        ReadRow("mixed cut", "[A]\nk=a" + Repeat("中", 127), "k", "a" + Chinese(126));
        ReadRow("not in 936", "[A]\nk=" + Repeat("a", 251) + "한", "k", Repeat("a", 251) + "한");
        ReadRow("not in 936 cut", "[A]\nk=" + Repeat("a", 252) + "한", "k",
                QString(Repeat("a", 252)));
        ReadRow("pair whole", "[A]\nk=" + Repeat("a", 250) + "😀", "k", Repeat("a", 250) + "😀");
        ReadRow("cut pair", "[A]\nk=" + Repeat("a", 251) + "😀", "k", QString(Repeat("a", 251)));
        ReadRow("936 line, UTF-8 line", "[A]\nk=\xD6\xD0\nj=中\n", "j", "中");
        ReadRow("UTF-8 line, 936 line", "[A]\nj=中\nk=\xD6\xD0\n", "k", "中");
        ReadRow("936 name", "[A]\n\xD6\xD0=1\n", "中", "1");
        ReadRow("UTF-8 also 936", "[A]\nk=caf\xC3\xA9\n", "k", "café");
    }
    void reads() {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        QFETCH(QString, value);
        Put(ini(), file);
        QCOMPARE(GetFromIni("A", key, ini()), value);
    }

    void readsEveryTimeAnew() {
        QCOMPARE(GetFromIni("A", "k", dir_.filePath("none.ini")), QString());
        Put(ini(), "[A]\nk=1\n");
        QCOMPARE(GetFromIni("A", "k", ini()), "1");
        Put(ini(), "[A]\nk=2\n");
        QCOMPARE(GetFromIni("a", "K", ini()), "2");
    }

    void writes_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        WriteRow("new file", QByteArray(), "App", "key", "string", "[App]\r\nkey=string\r\n");
        WriteRow("only the value", ";c\n[a]\n  SOUND = 1 \n\n[B]\nx=1", "A", "sound", "80",
                 ";c\n[a]\n  SOUND = 80\n\n[B]\nx=1");
        WriteRow("first key", "[A]\rk=1\rk=1\r", "A", "k", "2", "[A]\rk=2\rk=1\r");
        WriteRow("new key", "[A]\nk=1\n;c\n\n[B]\n", "A", "j", "2", "[A]\nk=1\nj=2\r\n;c\n\n[B]\n");
        WriteRow("first copy", "[A]\n[A]\nk=1", "A", "k", "2", "[A]\nk=2\r\n[A]\nk=1");
        WriteRow("open last line", "[A]\nk=1", "A", "j", "2", "[A]\nk=1\r\nj=2\r\n");
        WriteRow("new section", "[A]\nk=1", "Skin", "Url", "Skin\\Blue.skn",
                 "[A]\nk=1\r\n[Skin]\r\nUrl=Skin\\Blue.skn\r\n");
        WriteRow("blanks kept", QByteArray(), "A", "k", " x", "[A]\r\nk=\" x\"\r\n");
        WriteRow("quotes kept", QByteArray(), "A", "k", "'x'", "[A]\r\nk=\"'x'\"\r\n");
        WriteRow("mark kept", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "中", "\xEF\xBB\xBF[A]\nk=中\n");
        WriteRow("936 kept", "[A]\nt=\xD6\xD0\nk=1\n", "A", "k", "文", "[A]\nt=\xD6\xD0\nk=文\n");
        WriteRow("936 line in UTF-8", "[A]\r\n \xD6\xD0 = \xCE\xC4\r\nt=\xD6\xD0", "A", "中",
                 "文字", "[A]\r\n 中 = 文字\r\nt=\xD6\xD0");
        WriteRow("UTF-16", Raw("\xFF\xFE[\0A\0]\0\n\0k\0=\0\x31\0"), "A", "k", "中",
                 Raw("\xFF\xFE[\0A\0]\0\n\0k\0=\0\x2d\x4e"));
        WriteRow("UTF-16 new key", Raw("\xFF\xFE[\0A\0]\0"), "A", "j", "2",
                 Raw("\xFF\xFE[\0A\0]\0\r\0\n\0j\0=\0\x32\0\r\0\n\0"));
        // A lone last byte is completed first, or what follows it would be read off by one.
        WriteRow("UTF-16 odd end", Raw("\xFF\xFE[\0A\0]\0x"), "B", "j", "2",
                 Raw("\xFF\xFE[\0A\0]\0x\0\r\0\n\0[\0B\0]\0\r\0\n\0j\0=\0\x32\0\r\0\n\0"));
        WriteRow("line break", "[A]\nk=1\n", "A", "k", "2\n[B]", "[A]\nk=1\n");
        WriteRow("CR", "[A]\nk=1\n", "A", "k", "2\r[B]", "[A]\nk=1\n");
        WriteRow("bad key", "[A]\n", "A", "k=j", "1", "[A]\n");
        WriteRow("bad section", "[A]\n", "A]", "k", "1", "[A]\n");
        WriteRow("5 MB", "[A]\nk=1\n" + Repeat("[S]\r\nkey=value\r\n;\r\n", 250000), "A", "k", "2",
                 "[A]\nk=2\n" + Repeat("[S]\r\nkey=value\r\n;\r\n", 250000));
    }
    void writes() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        if (!before.isNull())
            Put(ini(), before);
        else
            QFile::remove(ini());
        WriteToIni(section, key, value, ini());
        QFETCH(QByteArray, after);
        QCOMPARE(Bytes(ini()), after);
        if (!HasLineBreak(value) && !key.contains('=') && !section.contains(']'))
            QCOMPARE(GetFromIni(section, key, ini()), value);
    }

    void otherLinesKeepTheirBytes_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray utf8Title = "[Config]\r\nTitle=视频播放器\r\n";
        QTest::newRow("stray Latin-1") << "; caf\xE9\r\n" + utf8Title + "Sound=80\r\n"
                                       << "; caf\xE9\r\n" + utf8Title + "Sound=90\r\n";
        const QByteArray windows = "[Config]\r\nTitle=" + kTitle936 + "\r\n";
        const QByteArray media = "[Media]\r\nUrl=D:\\\xD6\xD0.flv\r\n";
        QTest::newRow("Windows file")
            << windows + "Sound=80\r\n" + media << windows + "Sound=90\r\n" + media;
        QTest::newRow("Windows file, new key")
            << windows + media << windows + "Sound=90\r\n" + media;
    }
    void otherLinesKeepTheirBytes() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        Put(ini(), before);
        QCOMPARE(GetFromIni("Config", "Title", ini()), "视频播放器");
        WriteToIni("Config", "Sound", "90", ini());
        QCOMPARE(Bytes(ini()), after);
        QCOMPARE(GetFromIni("Config", "Title", ini()), "视频播放器");
    }

    void specialPathsAreLeftAlone_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"FIFO", "link to /dev/zero", "directory", "over 32 MiB"})
            QTest::newRow(kind) << QString(kind);
    }
    void specialPathsAreLeftAlone() {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        const QString path = folder.filePath("Config.ini");
        if (kind == "FIFO") {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "directory") {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == "link to /dev/zero") {
            QVERIFY(QFile::link("/dev/zero", path));
        } else {
            Put(path, "[A]\nk=1\n");
            QVERIFY(QFile::resize(path, (32 << 20) + 1));
        }
        const QString before = Describe(path);
        // Waiting on the path would hang the run; the alarm ends it as a failure instead.
        alarm(10);
        QCOMPARE(GetFromIni("A", "k", path), QString());
        WriteToIni("A", "k", "2", path);
        alarm(0);
        QCOMPARE(Describe(path), before);
        const auto all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(folder.path()).entryList(all), QStringList{"Config.ini"});
    }

    void failedWriteKeepsTheFile_data() {
        QTest::addColumn<QString>("why");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("disk full") << "full";
        QTest::newRow("read-only file") << "file";
        QTest::newRow("read-only folder") << "folder";
    }
    void failedWriteKeepsTheFile() {
        QFETCH(QString, why);
        if ((why == "file" || why == "folder") && geteuid() == 0)
            QSKIP("root writes anyway");
        QTemporaryDir folder;
        const QString path = folder.filePath(why == "missing" ? "sub/Config.ini" : "Config.ini");
        const QByteArray old = why == "missing" ? QByteArray() : "[A]\r\nk=1\r\n";
        if (!old.isEmpty())
            Put(path, old);
        if (why == "file" || why == "folder")
            QFile::setPermissions(why == "file" ? path : folder.path(),
                                  QFile::ReadOwner | QFile::ExeOwner);
        {
            std::optional<ovelo::testing::FileSizeLimit> full;
            if (why == "full")
                full.emplace(4096);
            WriteToIni("A", "k", QString(8192, 'x'), path);
        }
        QFile::setPermissions(folder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(Bytes(path), old);
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
                 old.isEmpty() ? 0 : 1);
    }

    void writeKeepsPermissions() {
        Put(ini(), "[A]\nk=1\n");
        QFile::setPermissions(ini(), QFile::ReadOwner | QFile::WriteOwner);
        WriteToIni("A", "k", "2", ini());
        QCOMPARE(QFile::permissions(ini()) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    }

    void shippedFileHoldsTheInitialValues() {
        const QString shipped = OVELO_PROGRAM_DIR "/Config.ini";
        QVERIFY(Bytes(shipped).startsWith("[Config]\r\nTitle=Ovelo 2011 Beta2\r\n"));
        QCOMPARE(GetFromIni("Config", "Sound", shipped), "80");
        QCOMPARE(GetFromIni("Skin", "Url", shipped), "Skin\\Blue.skn");
        QCOMPARE(GetFromIni("Fast", "LaoBan", shipped), "76");
        QCOMPARE(GetFromIni("Version", "version", shipped), "1.2.0.2250");
    }

    void userFolderGetsTheMissingDataFiles() {
        QTemporaryDir shipped, user;
        QDir(shipped.path()).mkpath("Skin/Old");
        for (const char* name :
             {"Config.ini", "Skin/Blue.skn", "Skin/Old/x.skn", "Flv.so", "libz.so.1", "ovelo"})
            Put(shipped.filePath(name), name);
        QFile::setPermissions(shipped.filePath("ovelo"), QFile::ReadOwner | QFile::ExeOwner);
        Put(user.filePath("Config.ini"), "mine");
        ovelo::CopyShippedData(shipped.path(), user.path());
        QCOMPARE(Bytes(user.filePath("Config.ini")), "mine");
        QCOMPARE(Bytes(user.filePath("Skin/Old/x.skn")), "Skin/Old/x.skn");
        QCOMPARE(QDir(user.path()).entryList(QDir::Files), QStringList{"Config.ini"});
        QCOMPARE(ovelo::ResolveProgramFolder(shipped.path() + "/", user.path()), shipped.path());
        QCOMPARE(ovelo::ResolveProgramFolder(shipped.filePath("gone"), user.filePath("new")),
                 user.filePath("new"));
        QVERIFY(QFileInfo(user.filePath("new")).isDir());
    }

    void nativePaths() {
        QCOMPARE(ovelo::NativePath("/p", "Skin\\Blue.skn"), "/p/Skin/Blue.skn");
        QCOMPARE(ovelo::NativePath("/", "\\Config.ini"), "/Config.ini");
        QCOMPARE(ovelo::NativePath("/p", ""), "/p/");
        ovelo::testing::ProgramFolderForTesting programFolder(dir_.path());
        QCOMPARE(ovelo::ConfigIniPath(), ini());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
