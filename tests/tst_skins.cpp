// The skin engine: what attaching a skin changes, what it refuses, what every skin keeps, the
// shipped skins, and the skin attached at start-up.
#include "controlfullscreenwindow.h"
#include "logo.h"
#include "lookguards.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/playbackcontroller.h"
#include "movie/movieengine.h"
#include "platform/programfolder.h"
#include "player/standinplayer.h"
#include "settings/inifile.h"
#include "shell/programwindows.h"
#include "skins/glass.h"
#include "skins/skinengine.h"
#include "testguards.h"
#include "velmoracontrol.h"
#include "windows/coordinator.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace ovelo;
using namespace ovelo::testing;

namespace {

class SilentEngine : public flv::MovieEngine {
  public:
    QString Call(const QString&, const QStringList&) override { return {}; }
    void SetBGColor(const QString&) override {}
    QWidget* Surface() override { return nullptr; }
};

// A skin file in a folder of its own.
struct SkinFile {
    explicit SkinFile(const QByteArray& text, const char* name = "Test.skn") {
        path = folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text);
    }
    QTemporaryDir folder;
    QString path;
};

QColor TextColour(QWidget* w) {
    w->ensurePolished();
    return w->palette().color(w->foregroundRole());
}

QColor Background(QWidget* w) {
    w->ensurePolished();
    return w->palette().color(w->backgroundRole());
}

const QByteArray kRedLabels = "QLabel#probe { color: #c01020; }";

} // namespace

class TestSkins : public QObject {
    Q_OBJECT
    std::optional<LookGuard> look_;

  private slots:
    void init() {
        look_.emplace();
        QCOMPARE(AttachProgramLook(), int(SkinDone));
    }
    void cleanup() { look_.reset(); }

    void attaching_restyles_open_and_later_windows() {
        QWidget open;
        auto* before = new QLabel("x", &open);
        before->setObjectName("probe");
        open.show();
        const QColor unskinned = TextColour(before);

        SkinFile skin(kRedLabels);
        // Stored the Windows way, as Config.ini hands it over.
        QString stored = skin.path;
        stored.replace('/', '\\');
        QCOMPARE(SkinH_AttachEx(stored, QString()), int(SkinDone));
        QCOMPARE(AttachedSkin(), skin.path);
        QCOMPARE(TextColour(before), QColor(0xc0, 0x10, 0x20));
        QLabel later("y");
        later.setObjectName("probe");
        QCOMPARE(TextColour(&later), QColor(0xc0, 0x10, 0x20));

        // The program's own look replaces the skin, not adds to it.
        QCOMPARE(AttachProgramLook(), int(SkinDone));
        QCOMPARE(TextColour(before), unskinned);
    }

    void refused_skins_change_nothing_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("result");
        QTest::newRow("empty file") << QByteArray() << int(SkinEmpty);
        QTest::newRow("blanks and comments") << QByteArray(" \n/* nothing */\n") << int(SkinEmpty);
        QTest::newRow("unclosed rule")
            << QByteArray("QLabel { color: red;") << int(SkinNotAStyleSheet);
        QTest::newRow("stray brace")
            << QByteArray("QLabel { color: red; } }") << int(SkinNotAStyleSheet);
        QTest::newRow("nested rule")
            << QByteArray("QLabel { QWidget { color: red; } }") << int(SkinNotAStyleSheet);
        QTest::newRow("no selector") << QByteArray("{ color: red; }") << int(SkinNotAStyleSheet);
        QTest::newRow("declarations only") << QByteArray("color: red;") << int(SkinNotAStyleSheet);
        QTest::newRow("selector without rule")
            << QByteArray("QLabel { color: red; } QPushButton") << int(SkinNotAStyleSheet);
        QTest::newRow("unclosed comment")
            << QByteArray("QLabel { color: red; } /* x") << int(SkinNotAStyleSheet);
        QTest::newRow("not UTF-8")
            << QByteArray("QLabel { color: red; } /* \xff\xfe */") << int(SkinNotAStyleSheet);
        QTest::newRow("binary") << QByteArray("QLabel {\0 }", 11) << int(SkinNotAStyleSheet);
        QTest::newRow("Qt refuses it")
            << QByteArray("QLabel { color: red; } }}} x {") << int(SkinNotAStyleSheet);
    }
    void refused_skins_change_nothing() {
        QFETCH(QByteArray, text);
        QFETCH(int, result);
        SkinFile good(kRedLabels, "Good.skn");
        QCOMPARE(SkinH_AttachEx(good.path, QString()), int(SkinDone));
        const QString sheet = qApp->styleSheet();
        SkinFile bad(text);
        QCOMPARE(SkinH_AttachEx(bad.path, QString()), result);
        QCOMPARE(qApp->styleSheet(), sheet);
        QCOMPARE(AttachedSkin(), good.path);
    }

    void missing_files_and_folders_change_nothing() {
        const QString sheet = qApp->styleSheet();
        QTemporaryDir folder;
        // An empty [Skin] Url hands over the bare program folder and a "\".
        for (const QString& path :
             {folder.path() + "\\", folder.path(), folder.filePath("Missing.skn"), QString()}) {
            QCOMPARE(SkinH_AttachEx(path, QString()), int(SkinUnreadable));
            QCOMPARE(qApp->styleSheet(), sheet);
        }
        QCOMPARE(AttachedSkin(), QString());
    }

    void every_skin_keeps_the_video_black() {
        SkinFile loud("QWidget { background-color: white; color: blue; }\n"
                      "QLabel { color: green; background-color: yellow; }\n"
                      "#Picture1, #Picture2, #Form1 { background-color: red; }");
        QCOMPARE(SkinH_AttachEx(loud.path, QString()), int(SkinDone));
        QWidget window;
        flv::VelmoraControl control(&window, [](QObject*) { return new SilentEngine; });
        control.setObjectName("flv");
        window.show();
        QCOMPARE(Background(&control), QColor(Qt::black));
        for (const char* name : {"Picture1", "Picture2"})
            QCOMPARE(Background(control.findChild<QWidget*>(name)), QColor(Qt::black));
        QCOMPARE(Background(control.fullScreenWindow()), QColor(Qt::black));
        auto* caption = control.logo()->findChild<QLabel*>("Label1");
        auto* shadow = control.logo()->findChild<QLabel*>("Label2");
        QCOMPARE(TextColour(caption), QColor(0xff, 0, 0));
        QCOMPARE(TextColour(shadow), QColor(0xff, 0xff, 0x80));
        // The rest of the window does take the skin.
        QLabel other("z", &window);
        QCOMPARE(TextColour(&other), QColor("green"));
    }

    // A skin may name the main window's pictures; the next one that does not gets ours back.
    void skins_name_pictures() {
        QWidget client;
        client.setObjectName("Form1Client");
        auto* play = new QToolButton(&client);
        play->setObjectName("Command1");
        client.show();
        play->ensurePolished();
        const QImage ours = play->icon().pixmap(32, 32).toImage();
        QVERIFY(!ours.isNull());

        QTemporaryDir folder;
        QFile picture(folder.filePath("mine.svg"));
        picture.open(QIODevice::WriteOnly);
        picture.write("<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
                      "<rect width='10' height='10' fill='#00ff00'/></svg>");
        picture.close();
        SkinFile named("#Form1Client > QToolButton#Command1 { qproperty-icon: url(" +
                       picture.fileName().toUtf8() + "); }");
        QCOMPARE(SkinH_AttachEx(named.path, QString()), int(SkinDone));
        QCOMPARE(play->icon().pixmap(32, 32).toImage().pixelColor(16, 16), QColor(0, 255, 0));

        SkinFile plain(kRedLabels);
        QCOMPARE(SkinH_AttachEx(plain.path, QString()), int(SkinDone));
        QCOMPARE(play->icon().pixmap(32, 32).toImage(), ours);
    }

    void shipped_skins_parse() {
        const QStringList skins =
            QDir(OVELO_PROGRAM_DIR "/Skin").entryList({"*.skn"}, QDir::Files, QDir::Name);
        QVERIFY2(skins.size() >= 3, qPrintable(skins.join(",")));
        for (const QString& name : skins)
            QVERIFY2(SkinH_AttachEx(OVELO_PROGRAM_DIR "/Skin/" + name, QString()) == SkinDone,
                     qPrintable(name));
        // The shipped settings name one of them.
        const QString named = GetFromIni("Skin", "Url", OVELO_PROGRAM_DIR "/Config.ini");
        QVERIFY(skins.contains(named.mid(QStringLiteral("Skin\\").size())));
        QVERIFY(named.startsWith("Skin\\"));
    }

    void glass_is_for_secondary_windows_without_video() {
        QWidget settings, main, fullScreen;
        settings.setObjectName("Form6");
        main.setObjectName("Form1");
        fullScreen.setObjectName("Form3");
        (new QWidget(&fullScreen))->setObjectName("flv");
        QVERIFY(TakesGlass(&settings));
        QVERIFY(!TakesGlass(&main));
        QVERIFY(!TakesGlass(&fullScreen));
        // No compositor blends the offscreen platform's windows: nothing turns see-through.
        GlassOn glass;
        QCOMPARE(glass.result(), int(SkinDone));
        settings.show();
        QCOMPARE(settings.windowOpacity(), 1.0);
    }

    // Restyling gives widgets back the font they had when first styled; the logo's size is
    // set for its control's height after that.
    void the_logo_keeps_its_size_across_skins() {
        QWidget window;
        flv::VelmoraControl control(&window, [](QObject*) { return new SilentEngine; });
        control.setGeometry(0, 0, 600, 400);
        window.show();
        auto* caption = control.logo()->findChild<QLabel*>("Label1");
        const int points = caption->font().pointSize();
        QVERIFY(points != 18);
        SkinFile skin(kRedLabels);
        QCOMPARE(SkinH_AttachEx(skin.path, QString()), int(SkinDone));
        QTRY_COMPARE(caption->font().pointSize(), points);
        QCOMPARE(caption->size(), caption->sizeHint());
    }

    void startup_attaches_the_configured_skin_every_start() {
        QTemporaryDir folder;
        ProgramFolderForTesting programFolder(folder.path());
        QDir(folder.path()).mkdir("Skin");
        QFile::copy(OVELO_PROGRAM_DIR "/Skin/Dark.skn", folder.filePath("Skin/Dark.skn"));
        WriteToIni("Skin", "Url", "Skin\\Dark.skn", folder.filePath("Config.ini"));
        for (int start = 0; start < 2; ++start) {
            AttachProgramLook();
            WindowCoordinator windows;
            RegisterProgramWindows(windows);
            MainWindow window(windows, [](QWidget* parent) { return new StandInPlayer(parent); });
            windows.setMain(&window.controller());
            window.controller().load(QString());
            QCOMPARE(AttachedSkin(), folder.filePath("Skin/Dark.skn"));
        }
        // Without a skin named, the program keeps its own look.
        QFile::remove(folder.filePath("Config.ini"));
        AttachProgramLook();
        WindowCoordinator windows;
        RegisterProgramWindows(windows);
        MainWindow window(windows, [](QWidget* parent) { return new StandInPlayer(parent); });
        windows.setMain(&window.controller());
        window.controller().load(QString());
        QCOMPARE(AttachedSkin(), QString());
    }
};

QTEST_MAIN(TestSkins)
#include "tst_skins.moc"
