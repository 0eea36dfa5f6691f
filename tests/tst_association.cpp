// The classes root and its text values, the registration written into it, and the editing of
// the user's default applications.
#include "association/classesroot.h"
#include "association/desktopfiles.h"
#include "association/mimeapps.h"
#include "association/registration.h"
#include "association/regtext.h"

#include <QtTest>

using namespace ovelo;

namespace {

template <size_t N> QByteArray Raw(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}

RegKey Create(ClassesRoot& root, const QString& path) {
    RegKey key;
    root.CreateKey(ClassesRoot::Root(), path, key);
    return key;
}

QString Text(const ClassesRoot& root, const QString& path) {
    RegKey key;
    QString text = QStringLiteral("<none>");
    if (root.OpenKey(ClassesRoot::Root(), path, key) == ERROR_SUCCESS)
        ReadRegText(root, key, {}, text);
    return text;
}

// Every default value in the root, by key path; keys without one map to "".
QMap<QString, QString> DefaultValues(const ClassesRoot& root) {
    QMap<QString, QString> values;
    for (const QString& path : root.KeyPaths()) {
        values[path] = root.ValueNames(path).contains(QString()) ? Text(root, path) : QString();
        for (const QString& name : root.ValueNames(path))
            if (!name.isEmpty())
                values[path + QLatin1String(" :") + name] = QStringLiteral("<named>");
    }
    return values;
}

} // namespace

class TestAssociation : public QObject {
    Q_OBJECT
  private slots:
    void cutAtNull_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cut");
        QTest::newRow("none") << "flvfile"
                              << "flvfile";
        QTest::newRow("middle") << QString::fromUtf8(Raw("ab\0cd\0")) << "ab";
        QTest::newRow("first") << QString::fromUtf8(Raw("\0x")) << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void cutAtNull() {
        QFETCH(QString, text);
        QFETCH(QString, cut);
        QCOMPARE(CutAtNull(text), cut);
    }

    // Only REG_SZ values read; everything else answers False and leaves the result alone.
    void readRegText() {
        ClassesRoot root;
        const RegKey key = Create(root, "flvfile");
        root.SetValue(key, "dword", REG_DWORD, Raw("\x01\0\0\0"));
        root.SetValue(key, "raw", REG_SZ, "abc"); // written without its NUL
        root.SetValue(key, "inner", REG_SZ, Raw("ab\0cd\0"));
        root.SetValue(key, "empty", REG_SZ, "");
        QString result = "kept";
        QVERIFY(!ReadRegText(root, key, "missing", result));
        QVERIFY(!ReadRegText(root, key, "dword", result));
        RegKey closed = key;
        root.CloseKey(closed);
        root.SetValue(key, {}, REG_SZ, Raw("x\0"));
        QVERIFY(!ReadRegText(root, closed, {}, result));
        QCOMPARE(result, "kept");
        QVERIFY(ReadRegText(root, key, "raw", result));
        QCOMPARE(result, "abc");
        QVERIFY(ReadRegText(root, key, "INNER", result)); // names without regard to case
        QCOMPARE(result, "ab");
        QVERIFY(ReadRegText(root, key, "empty", result));
        QCOMPARE(result, "");
    }

    // The size stored is the code-page text's byte length plus one, and the text reads back
    // with nothing after it.
    void writeRegTextRoundTrip() {
        ClassesRoot root;
        const RegKey key = Create(root, "flvfile");
        const QString description = QString::fromUtf8("FLV视频文件");
        QVERIFY(WriteRegText(root, key, {}, description));
        quint32 type = 0;
        quint32 size = 0;
        QCOMPARE(root.QueryValue(key, {}, &type, nullptr, &size), long(ERROR_SUCCESS));
        QCOMPARE(type, quint32(REG_SZ));
        QCOMPARE(size, quint32(description.toUtf8().size() + 1));
        QString back;
        QVERIFY(ReadRegText(root, key, {}, back));
        QCOMPARE(back, description);
        char small[4];
        quint32 smallSize = sizeof small;
        QCOMPARE(root.QueryValue(key, {}, &type, small, &smallSize), long(ERROR_MORE_DATA));
        QCOMPARE(smallSize, size);
        RegKey closed;
        QVERIFY(!WriteRegText(root, closed, {}, description));
    }

    void keyNamesIgnoreCase() {
        ClassesRoot root;
        const RegKey command = Create(root, "flvfile\\Shell\\Open\\command");
        QVERIFY(WriteRegText(root, command, {}, "one"));
        RegKey same;
        QCOMPARE(root.OpenKey(ClassesRoot::Root(), "FLVFILE\\shell\\open\\COMMAND", same),
                 long(ERROR_SUCCESS));
        QVERIFY(WriteRegText(root, same, {}, "two"));
        QCOMPARE(Text(root, "flvfile\\Shell\\Open\\command"), "two");
        QCOMPARE(root.KeyPaths(), QStringList({"flvfile", "flvfile\\Shell", "flvfile\\Shell\\Open",
                                               "flvfile\\Shell\\Open\\command"}));
        RegKey missing;
        QCOMPARE(root.OpenKey(ClassesRoot::Root(), "f4vfile", missing), long(ERROR_FILE_NOT_FOUND));
        QCOMPARE(root.CreateKey(ClassesRoot::Root(), "a\\\\b", missing), long(ERROR_BAD_PATHNAME));
        QCOMPARE(root.CreateKey(ClassesRoot::Root(), "\\a", missing), long(ERROR_BAD_PATHNAME));
        QVERIFY(root.KeyPaths().size() == 4);
    }

    // The file keeps every byte of names and data, and reads back to the same content.
    void storeRoundTrip() {
        ClassesRoot root;
        const RegKey key = Create(root, "odd [key]=@%\\sub");
        root.SetValue(key, {}, REG_SZ, Raw("line\nbreak\r\t%41=[]@\0\xff\xfe"));
        root.SetValue(key, "@", REG_BINARY, Raw("\0\x01"));
        root.SetValue(key, "a=b", REG_EXPAND_SZ, "");
        const QByteArray bytes = root.ToBytes();
        const std::optional<ClassesRoot> back = ClassesRoot::FromBytes(bytes);
        QVERIFY(back);
        QCOMPARE(back->ToBytes(), bytes);
        QCOMPARE(back->KeyPaths(), root.KeyPaths());
        QCOMPARE(back->ValueNames("odd [key]=@%\\sub"), QStringList({"", "@", "a=b"}));
        QByteArray data(64, 'x');
        quint32 size = data.size();
        quint32 type = 0;
        back->QueryValue(key, "@", &type, data.data(), &size);
        QCOMPARE(type, quint32(REG_BINARY));
        QCOMPARE(data.first(size), Raw("\0\x01"));
        QVERIFY(ClassesRoot::FromBytes(ClassesRoot().ToBytes()));
    }

    void damagedStore_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("other file") << QByteArray("[Default Applications]\n");
        QTest::newRow("value before key") << QByteArray("Ovelo classes root\n@=1:x\n");
        QTest::newRow("bad escape") << QByteArray("Ovelo classes root\n[a]\n@=1:%G1\n");
        QTest::newRow("cut escape") << QByteArray("Ovelo classes root\n[a]\n@=1:%4\n");
        QTest::newRow("bad type") << QByteArray("Ovelo classes root\n[a]\n@=x:y\n");
        QTest::newRow("cut short") << QByteArray("Ovelo classes root\n[a]\n@=1:flv");
        QTest::newRow("bad key") << QByteArray("Ovelo classes root\n[a\\\\b]\n");
        QTest::newRow("key twice") << QByteArray("Ovelo classes root\n[a]\n[A]\n");
    }
    void damagedStore() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!ClassesRoot::FromBytes(bytes));
    }

    // The file a start writes has the bytes it always had: the stores already on users' machines
    // load, and a start with nothing to change finds the same bytes and writes nothing.
    void storeBytesOfARegistration() {
        ClassesRoot root;
        RegisterFileTypes(root, "/opt/Ovelo", "/opt/Ovelo/Dranvik.exe");
        QCOMPARE(root.ToBytes(), QByteArray(R"(Ovelo classes root
[.flv]
@=1:flvfile%00
[flvfile]
@=1:FLV视频文件%00
[flvfile\DefaultIcon]
@=1:/opt/Ovelo/files.ico%00
[flvfile\Shell]
[flvfile\Shell\Open]
[flvfile\Shell\Open\command]
@=1:/opt/Ovelo/dranvik.exe %251%00
[.f4v]
@=1:f4vfile%00
[f4vfile]
@=1:F4V视频文件%00
[f4vfile\DefaultIcon]
@=1:/opt/Ovelo/files.ico%00
[f4vfile\Shell]
[f4vfile\Shell\Open]
[f4vfile\Shell\Open\command]
@=1:/opt/Ovelo/Dranvik.exe %251%00
)"));
    }

    // Values of any type and bytes, as another writer may have left them, are written back as
    // they were read; a text set over one of them takes its place and keeps its name.
    void storeKeepsValuesOfEveryType() {
        const QByteArray file("Ovelo classes root\n"
                              "[Media]\n"
                              "@=0:\n"
                              "Kind=2:%25SystemRoot%25%00\n"
                              "Raw=3:%00%01\xff\xfe\n"
                              "Count=4:%01%00%00%00\n"
                              "Big=4294967295:x\n"
                              "[Media\\odd %5Bkey%5D%3D%40%25]\n"
                              "%40=1:at%00\n"
                              "a%3Db=1:line%0Abreak%0D%09%2541%3D%5B%5D%40%7F\xe6\x96\x87%00\n");
        std::optional<ClassesRoot> root = ClassesRoot::FromBytes(file);
        QVERIFY(root);
        QCOMPARE(root->ToBytes(), file);
        RegKey key;
        root->OpenKey(ClassesRoot::Root(), "MEDIA", key);
        QVERIFY(WriteRegText(*root, key, "COUNT", "5"));
        QByteArray changed = file;
        changed.replace("Count=4:%01%00%00%00\n", "Count=1:5%00\n");
        QCOMPARE(root->ToBytes(), changed);
    }

    // The state a start leaves: the command of .flv in lower case, both icons replaced.
    void registrationTable() {
        ClassesRoot root;
        RegisterFileTypes(root, "/opt/Ovelo", "/opt/Ovelo/Dranvik.exe");
        const QMap<QString, QString> expected = {
            {".flv", "flvfile"},
            {"flvfile", QString::fromUtf8("FLV视频文件")},
            {"flvfile\\DefaultIcon", "/opt/Ovelo/files.ico"},
            {"flvfile\\Shell", ""},
            {"flvfile\\Shell\\Open", ""},
            {"flvfile\\Shell\\Open\\command", "/opt/Ovelo/dranvik.exe %1"},
            {".f4v", "f4vfile"},
            {"f4vfile", QString::fromUtf8("F4V视频文件")},
            {"f4vfile\\DefaultIcon", "/opt/Ovelo/files.ico"},
            {"f4vfile\\Shell", ""},
            {"f4vfile\\Shell\\Open", ""},
            {"f4vfile\\Shell\\Open\\command", "/opt/Ovelo/Dranvik.exe %1"},
        };
        QCOMPARE(DefaultValues(root), expected);
        // The same start again changes nothing, so nothing is written.
        const QByteArray once = root.ToBytes();
        RegisterFileTypes(root, "/opt/Ovelo", "/opt/Ovelo/Dranvik.exe");
        QCOMPARE(root.ToBytes(), once);
    }

    void registrationTakesOverAndMoves() {
        ClassesRoot root;
        WriteRegText(root, Create(root, ".FLV"), {}, "OtherPlayer.flv");
        WriteRegText(root, Create(root, "OtherPlayer.flv\\shell\\open\\command"), {},
                     "/usr/bin/other %1");
        RegisterFileTypes(root, "/opt/Ovelo", "/opt/Ovelo/ovelo");
        RegisterFileTypes(root, "/home/u/My Apps/Ovelo", "/home/u/My Apps/Ovelo/ovelo");
        QCOMPARE(Text(root, ".flv"), "flvfile");
        QCOMPARE(Text(root, "OtherPlayer.flv\\shell\\open\\command"), "/usr/bin/other %1");
        QCOMPARE(Text(root, "flvfile\\shell\\open\\command"), "/home/u/My Apps/Ovelo/ovelo %1");
        QCOMPARE(Text(root, "f4vfile\\DefaultIcon"), "/home/u/My Apps/Ovelo/files.ico");
        QVERIFY(!root.ToBytes().contains("/opt/Ovelo"));
    }

    void defaultApplications_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray ours = "video/x-flv=ovelo.desktop;\nvideo/x-f4v=ovelo.desktop;\n";
        QTest::newRow("no file") << QByteArray() << "[Default Applications]\n" + ours;
        QTest::newRow("other groups kept, section added at the end")
            << QByteArray("# mine\n[Added Associations]\nvideo/x-flv=vlc.desktop;\n")
            << "# mine\n[Added Associations]\nvideo/x-flv=vlc.desktop;\n"
               "[Default Applications]\n" +
                   ours;
        QTest::newRow("replaced in place, order and comments kept")
            << QByteArray("[Default Applications]\r\ntext/plain=gedit.desktop;\r\n# c\r\n"
                          "video/x-flv = vlc.desktop;mpv.desktop;\r\nimage/png=eog.desktop;\r\n"
                          "\r\n[Added Associations]\r\nvideo/x-f4v=vlc.desktop;\r\n")
            << QByteArray("[Default Applications]\r\ntext/plain=gedit.desktop;\r\n# c\r\n"
                          "video/x-flv=ovelo.desktop;\r\nimage/png=eog.desktop;\r\n"
                          "video/x-f4v=ovelo.desktop;\n"
                          "\r\n[Added Associations]\r\nvideo/x-f4v=vlc.desktop;\r\n");
        QTest::newRow("open last line")
            << QByteArray("[Default Applications]\ntext/plain=gedit.desktop;")
            << "[Default Applications]\ntext/plain=gedit.desktop;\n" + ours;
        QTest::newRow("ours already")
            << "[Default Applications]\n" + ours << "[Default Applications]\n" + ours;
    }
    void defaultApplications() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QStringList types = {"video/x-flv", "video/x-f4v"};
        QCOMPARE(WithDefaultApplication(before, types, "ovelo.desktop"), after);
    }

    void execArgument_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("argument");
        QTest::newRow("plain") << "/usr/lib/ovelo/ovelo"
                               << "/usr/lib/ovelo/ovelo";
        QTest::newRow("blank") << "/opt/My Apps/ovelo"
                               << "\"/opt/My Apps/ovelo\"";
        QTest::newRow("escaped in quotes") << "/o/a\"b$c`d\\e"
                                           << "\"/o/a\\\"b\\$c\\`d\\\\e\"";
        QTest::newRow("percent") << "/o/100%/ovelo"
                                 << "/o/100%%/ovelo";
        QTest::newRow("reserved") << "/o/a;b"
                                  << "\"/o/a;b\"";
    }
    void execArgument() {
        QFETCH(QString, path);
        QFETCH(QString, argument);
        QCOMPARE(ExecArgument(path), argument);
    }

    // The entry's string escapes come on top of the quoting: a backslash is written four times.
    void desktopEntry() {
        const QString entry = QString::fromUtf8(DesktopEntry("/o/a\\b c/ovelo", "/o/files.ico"));
        QVERIFY2(entry.contains("\nExec=\"/o/a\\\\\\\\b c/ovelo\" %f\n"), qPrintable(entry));
        QVERIFY(entry.contains("\nIcon=/o/files.ico\n"));
        QVERIFY(DesktopEntry("/o/a\tb", "i").contains("\nExec=\"/o/a\\tb\" %f\n"));
        QVERIFY(entry.contains("\nMimeType=video/x-flv;video/x-f4v;\n"));
        QVERIFY(entry.startsWith("[Desktop Entry]\n"));
        // A path holding a marker's text is taken as it is.
        QVERIFY(DesktopEntry("/o/@ICON@/ovelo", "i").contains("Exec=/o/@ICON@/ovelo %f"));
    }
};

QTEST_GUILESS_MAIN(TestAssociation)
#include "tst_association.moc"
