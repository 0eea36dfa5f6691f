// The classes root, its text values and its file, the registration written into it, and the editing
// of the user's default applications.
#include "association/classesroot.h"
#include "association/desktopfiles.h"
#include "association/mimeapps.h"
#include "association/registration.h"

#include <QtTest>

using namespace ovelo;

namespace {

QString Text(const ClassesRoot& root, const QString& path, const QString& name = {}) {
    return root.value(path, name).value_or(QStringLiteral("<none>"));
}

// Every default value in the root, by key path; keys without one map to "".
QMap<QString, QString> DefaultValues(const ClassesRoot& root) {
    QMap<QString, QString> values;
    for (const QString& path : root.keyPaths()) {
        values[path] = root.valueNames(path).contains(QString()) ? Text(root, path) : QString();
        for (const QString& name : root.valueNames(path))
            if (!name.isEmpty())
                values[path + QLatin1String(" :") + name] = QStringLiteral("<named>");
    }
    return values;
}

} // namespace

class TestAssociation : public QObject {
    Q_OBJECT
  private slots:
    // Only text values read, up to their first NUL, whether the program or another writer
    // stored them.
    void textValue_data() {
        QTest::addColumn<QByteArray>("line"); // the value's line in the store
        QTest::addColumn<QString>("text");
        QTest::newRow("with its NUL") << QByteArray("@=1:flvfile%00") << "flvfile";
        QTest::newRow("without a NUL") << QByteArray("@=1:abc") << "abc";
        QTest::newRow("NUL inside") << QByteArray("@=1:ab%00cd%00") << "ab";
        QTest::newRow("NUL first") << QByteArray("@=1:%00x") << "";
        QTest::newRow("empty") << QByteArray("@=1:") << "";
        QTest::newRow("code page")
            << QByteArray("@=1:F\xe8\xa7\x86%00") << QString::fromUtf8("F视");
        QTest::newRow("number") << QByteArray("@=4:%01%00%00%00") << "<none>";
        QTest::newRow("expandable text") << QByteArray("@=2:x%00") << "<none>";
        QTest::newRow("bytes") << QByteArray("@=3:x%00") << "<none>";
        QTest::newRow("named value") << QByteArray("Inner=1:x%00") << "<none>";
    }
    void textValue() {
        QFETCH(QByteArray, line);
        QFETCH(QString, text);
        const std::optional<ClassesRoot> root =
            ClassesRoot::fromBytes("Ovelo classes root\n[flvfile]\n" + line + '\n');
        QVERIFY(root);
        QCOMPARE(Text(*root, "flvfile"), text);
    }

    // A text is stored in the code page with its NUL, and reads back whole whatever its length.
    void textRoundTrip() {
        ClassesRoot root;
        const QString description = QString::fromUtf8("FLV视频文件");
        root.setValue("flvfile", {}, description);
        QCOMPARE(Text(root, "flvfile"), description);
        QVERIFY(root.toBytes().contains("\n@=1:" + description.toUtf8() + "%00\n"));
        const QString longText(5000, u'x');
        root.setValue("flvfile", "long", longText);
        QCOMPARE(Text(root, "flvfile", "long"), longText);
    }

    void namesIgnoreCase() {
        ClassesRoot root;
        root.setValue("flvfile\\Shell\\Open\\command", {}, "one");
        QVERIFY(root.hasKey("FLVFILE\\shell\\open\\COMMAND"));
        root.setValue("FLVFILE\\shell\\open\\COMMAND", {}, "two");
        QCOMPARE(Text(root, "flvfile\\Shell\\Open\\command"), "two");
        root.setValue("flvfile", "Inner", "three");
        root.setValue("flvfile", "INNER", "four");
        QCOMPARE(Text(root, "FlvFile", "inner"), "four");
        QCOMPARE(root.valueNames("flvfile"), QStringList{"Inner"});
        QCOMPARE(root.keyPaths(), QStringList({"flvfile", "flvfile\\Shell", "flvfile\\Shell\\Open",
                                               "flvfile\\Shell\\Open\\command"}));
        QVERIFY(!root.hasKey("f4vfile"));
        // A key made below one that exists takes the case the existing one has.
        root.setValue("FLVFILE\\SHELL\\Play", {}, "five");
        QCOMPARE(root.keyPaths().last(), "flvfile\\Shell\\Play");
    }

    // A path with an empty part names no key, and the root itself holds keys only.
    void badPathsRefused() {
        ClassesRoot root;
        root.setValue("a", {}, "x");
        const QByteArray before = root.toBytes();
        for (const char* bad : {"a\\\\b", "\\a", "a\\", ""}) {
            root.setValue(bad, {}, "y");
            QVERIFY2(!root.hasKey(bad), bad);
            QCOMPARE(Text(root, bad), "<none>");
        }
        QCOMPARE(root.toBytes(), before);
    }

    // Names and texts of any characters are written so that they read back the same.
    void storeRoundTrip() {
        ClassesRoot root;
        const QString key = "odd [key]=@%\\sub";
        const QString text = QString::fromUtf8("line\nbreak\r\t%41=[]@\x7f视");
        root.setValue(key, {}, text);
        root.setValue(key, "@", "at");
        root.setValue(key, "a=b", "");
        const QByteArray bytes = root.toBytes();
        const std::optional<ClassesRoot> back = ClassesRoot::fromBytes(bytes);
        QVERIFY(back);
        QCOMPARE(back->toBytes(), bytes);
        QCOMPARE(back->keyPaths(), root.keyPaths());
        QCOMPARE(back->valueNames(key), QStringList({"", "@", "a=b"}));
        QCOMPARE(Text(*back, key), text);
        QCOMPARE(Text(*back, key, "@"), "at");
        QCOMPARE(Text(*back, key, "a=b"), "");
        QVERIFY(ClassesRoot::fromBytes(ClassesRoot().toBytes()));
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
        QVERIFY(!ClassesRoot::fromBytes(bytes));
    }

    // The file a start writes has the bytes it always had: the stores already on users' machines
    // load, and a start with nothing to change finds the same bytes and writes nothing.
    void storeBytesOfARegistration() {
        ClassesRoot root;
        RegisterFileTypes(root, "/opt/Ovelo", "/opt/Ovelo/Dranvik.exe");
        QCOMPARE(root.toBytes(), QByteArray(R"(Ovelo classes root
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
        std::optional<ClassesRoot> root = ClassesRoot::fromBytes(file);
        QVERIFY(root);
        QCOMPARE(root->toBytes(), file);
        root->setValue("MEDIA", "COUNT", "5");
        QByteArray changed = file;
        changed.replace("Count=4:%01%00%00%00\n", "Count=1:5%00\n");
        QCOMPARE(root->toBytes(), changed);
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
        const QByteArray once = root.toBytes();
        RegisterFileTypes(root, "/opt/Ovelo", "/opt/Ovelo/Dranvik.exe");
        QCOMPARE(root.toBytes(), once);
    }

    void registrationTakesOverAndMoves() {
        ClassesRoot root;
        root.setValue(".FLV", {}, "OtherPlayer.flv");
        root.setValue("OtherPlayer.flv\\shell\\open\\command", {}, "/usr/bin/other %1");
        RegisterFileTypes(root, "/opt/Ovelo", "/opt/Ovelo/ovelo");
        RegisterFileTypes(root, "/home/u/My Apps/Ovelo", "/home/u/My Apps/Ovelo/ovelo");
        QCOMPARE(Text(root, ".flv"), "flvfile");
        QCOMPARE(Text(root, "OtherPlayer.flv\\shell\\open\\command"), "/usr/bin/other %1");
        QCOMPARE(Text(root, "flvfile\\shell\\open\\command"), "/home/u/My Apps/Ovelo/ovelo %1");
        QCOMPARE(Text(root, "f4vfile\\DefaultIcon"), "/home/u/My Apps/Ovelo/files.ico");
        QVERIFY(!root.toBytes().contains("/opt/Ovelo"));
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
