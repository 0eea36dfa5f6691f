// The main window: start-up from Config.ini, the close writes, layout, playback display, keys.
#include "mainwindowfixture.h"

#include "finder/finderwindow.h"
#include "webserver.h"

#include "layout/layout.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/opendialog.h"
#include "mainwindow/playbackcontroller.h"
#include "mainwindow/statuspanels.h"
#include "movie/playermovie.h"
#include "platform/programfolder.h"
#include "player/controlfactory.h"
#include "settings/inifile.h"
#include "shell/programwindows.h"
#include "velmoracontrol.h"
#include "windows/coordinator.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace ovelo;

using namespace ovelo::testing;

class TestMainWindow : public QObject {
    Q_OBJECT
  private slots:
    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QStringList{"ovelo"} << "";
        QTest::newRow("unquoted spaces")
            << QStringList{"ovelo", "/home/u/My", "Videos/a.flv"} << "/home/u/My Videos/a.flv";
        QTest::newRow("quoted") << QStringList{"ovelo", "\"/home/u/My Videos/a.flv\""}
                                << "/home/u/My Videos/a.flv";
        QTest::newRow("inner quote") << QStringList{"ovelo", "a\"b.flv"} << "a b.flv";
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(QString, text);
        QCOMPARE(PlaybackController::CommandLineText(args), text);
    }

    void startUpReadsTheSettings_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("volume");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("all on") << QByteArray(kKeysIni) << "Ovelo 2011 Beta2" << 35
                                << QStringList{"32", "83", "76"};
        QTest::newRow("boss key off")
            << QByteArray("[Config]\nTitle=T\nSound=60\n[Fast]\nKey=on\nLaoBanKey=off\nPlay=80\n"
                          "Stop=84\nLaoBan=66\n")
            << "T" << 60 << QStringList{"80", "84", "0"};
        QTest::newRow("keys off, boss on")
            << QByteArray("[Fast]\nKey=off\nLaoBanKey=on\nPlay=80\nStop=84\nLaoBan=66\n") << ""
            << 80 << QStringList{"0", "0", "0"};
        QTest::newRow("On is not on")
            << QByteArray("[Fast]\nKey=On\nPlay=80\n") << "" << 80 << QStringList{"0", "0", "0"};
        QTest::newRow("no file") << QByteArray() << "" << 80 << QStringList{"0", "0", "0"};
        QTest::newRow("sound not a number")
            << QByteArray("[Config]\nSound=loud\n") << "" << 80 << QStringList{"0", "0", "0"};
        QTest::newRow("sound clamped")
            << QByteArray("[Config]\nSound=250\n") << "" << 100 << QStringList{"0", "0", "0"};
    }
    void startUpReadsTheSettings() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, title);
        QFETCH(int, volume);
        QFETCH(QStringList, keys);
        Window w(ini);
        QCOMPARE(w.window->windowTitle(), title);
        QCOMPARE(w.control->Volume(), volume);
        const ShortcutKeys& loaded = w.window->controller().shortcutKeys();
        QCOMPARE(loaded.play, keys[0].toDouble());
        QCOMPARE(loaded.stop, keys[1].toDouble());
        QCOMPARE(loaded.boss, keys[2].toDouble());
        // The command line is played also when it is empty.
        QVERIFY(w.engine->calls.contains("playMovie()"));
    }

    void closeWritesTheFiveValues() {
        Window w;
        w.control->SetVolume(42);
        w.report("time", "37.52");
        w.window->controller().runCloseSequence();
        QCOMPARE(w.ini("Config", "Sound"), QString("42"));
        QCOMPARE(w.ini("Media", "Time"), QString("37.52"));
        QCOMPARE(w.ini("Media", "Url"), QString(""));
        const double tpp = TwipsPerPixelY(w.window.get());
        QCOMPARE(w.ini("Load", "H").toInt(),
                 int(std::lround(w.window->frameGeometry().height() * tpp)));
        QVERIFY(w.ini("Load", "W").toInt() > 0);
        // 退出 writes, then the unload writes the same once more, and the window says so once.
        QFile file(w.folder.filePath("Config.ini"));
        file.open(QIODevice::ReadOnly);
        const QByteArray once = file.readAll();
        file.close();
        QSignalSpy closed(w.window.get(), &MainWindow::closed);
        w.find<QAction>("mt")->trigger();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!w.window->isVisible());
        file.open(QIODevice::ReadOnly);
        QCOMPARE(file.readAll(), once);
    }

    void layoutFollowsTheWindow() {
        Window w;
        auto* play = w.find<QToolButton>("Command1");
        QCOMPARE(play->property("Tag").toString(), QString("3840 5280 735 615 "));
        QWidget* inner = w.window->centralWidget();
        QCOMPARE(inner->property("BaseScaleWidth").toInt(), 9915);
        QCOMPARE(inner->property("BaseScaleHeight").toInt(), 6360);
        // Shown at the design size, every control sits on its design rectangle.
        QTRY_COMPARE(inner->size(), QSize(661, 424));
        QCOMPARE(play->geometry(), QRect(256, 352, 49, 41));
        const QRect design = play->geometry();
        QWidget* client = w.window->centralWidget();
        const QSize clientDesign = client->size();
        w.window->resize(w.window->size() + clientDesign);
        QTRY_COMPARE(client->size(), clientDesign * 2);
        QVERIFY(qAbs(play->x() - design.x() * 2) <= 1);
        QVERIFY(qAbs(play->width() - design.width() * 2) <= 1);
        w.window->resize(w.window->size() - clientDesign);
        QTRY_COMPARE(client->size(), clientDesign);
        QCOMPARE(play->geometry(), design);
    }

    void seeksOnlyOnTheUsersMoves() {
        Window w;
        auto* sl1 = w.find<QSlider>("Sl1");
        w.report("totaltime", "215");
        QTRY_COMPARE(sl1->maximum(), 216);
        w.report("time", "50");
        QCOMPARE(sl1->value(), 50);
        QVERIFY(!w.engine->calls.join(";").contains("seek"));
        sl1->setSliderPosition(100);
        sl1->triggerAction(QAbstractSlider::SliderMove);
        QCOMPARE(w.engine->calls.last(), QString("seek(100)")); // 100 x 215 / 216 = 99.54
        // A report of -1 s gives a maximum of 0, made 1000 in the same tick.
        w.report("totaltime", "-1");
        QTRY_COMPARE(sl1->maximum(), 1000);
        // Further below, the slider still starts at 0: the tick that shows the new volume has
        // set the range too.
        w.report("totaltime", "-5");
        w.control->SetVolume(36);
        QTRY_COMPARE(w.find<QSlider>("Sl2")->value(), 36);
        QCOMPARE(sl1->minimum(), 0);
        QCOMPARE(sl1->maximum(), 1000);
    }

    void endOfFileOneSecondEarly() {
        Window w(kKeysIni, "/v/a.flv");
        w.report("totaltime", "215.4");
        w.report("time", "100");
        QVERIFY(w.find<QWidget>("Picture2")->isHidden());
        w.engine->calls.clear();
        w.report("time", "213.9");
        QVERIFY(!w.engine->calls.contains("playMovie()"));
        w.report("time", "214.2");
        QVERIFY(w.engine->calls.contains("playMovie()"));
        for (QWidget* picture : w.window->idlePictures())
            QVERIFY(picture->isVisible());
        QCOMPARE(w.control->Movie(), QString());
    }

    void statesShowInTitleAndPanel() {
        Window w(kKeysIni, "/v/电影 a&b[*].flv");
        const auto title = [&w] { return w.window->windowHandle()->title(); };
        QCOMPARE(title(), QString("Ovelo 2011 Beta2 - 正在播放:/v/电影 a&b[*].flv"));
        QCOMPARE(w.panel(1), QString("播放"));
        auto* sl1 = w.find<QSlider>("Sl1");
        sl1->setValue(5);
        w.report("State", "Pause");
        QCOMPARE(w.panel(1), QString("暂停播放"));
        w.report("State", "Empty");
        QCOMPARE(w.panel(1), QString("正在缓冲"));
        QCOMPARE(title(), QString("Ovelo 2011 Beta2 - 正在缓冲:/v/电影 a&b[*].flv"));
        w.report("State", "Stop");
        QCOMPARE(w.panel(1), QString("停止播放"));
        QCOMPARE(sl1->value(), 0);
        sl1->setValue(5);
        w.report("State", "FlvNotFound");
        QCOMPARE(w.panel(1), QString("播放文件无效或不存在"));
        QCOMPARE(sl1->value(), 0);
        w.report("State", "Whatever");
        QCOMPARE(w.panel(1), QString("播放文件无效或不存在"));
        QCOMPARE(title(), QString("Ovelo 2011 Beta2 - 正在缓冲:/v/电影 a&b[*].flv"));
    }

    void timersKeepTheDisplay() {
        Window w;
        QCOMPARE(w.fastTicks.previous().count(), 100); // the program's own: ten a second
        QTRY_VERIFY(w.panel(2).startsWith("时间:"));
        QVERIFY(w.panel(3).startsWith("日期:"));
        QCOMPARE(w.find<QLabel>("Label3")->text(), QString("00:00/00:00"));
        w.control->PlayMovie("/v/b.flv");
        w.report("totaltime", "60");
        w.report("time", "5.9");
        w.control->SetVolume(35);
        QTRY_COMPARE(w.find<QLabel>("Label3")->text(), QString("5/60"));
        QTRY_COMPARE(w.panel(4), QString("/v/b.flv"));
        QCOMPARE(w.find<QSlider>("Sl2")->value(), 35);
        QCOMPARE(w.find<QSlider>("Sl2")->toolTip(), QString("音量:35%"));

        // Ticks that find nothing new leave the tooltip alone, and the clock still moves on.
        struct Counter : QObject {
            int tooltips = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                tooltips += e->type() == QEvent::ToolTipChange;
                return false;
            }
        } counter;
        w.find<QSlider>("Sl2")->installEventFilter(&counter);
        const QString clock = w.panel(2);
        QTRY_VERIFY_WITH_TIMEOUT(w.panel(2) != clock, 2500);
        QCOMPARE(counter.tooltips, 0);
        QCOMPARE(w.find<QLabel>("Label3")->text(), QString("5/60"));
        w.report("time", "7.2");
        w.control->SetVolume(36);
        QTRY_COMPARE(w.find<QLabel>("Label3")->text(), QString("7/60"));
        QTRY_COMPARE(w.find<QSlider>("Sl2")->toolTip(), QString("音量:36%"));
        QCOMPARE(counter.tooltips, 1);
    }

    void openDialogAndResume() {
        Window w;
        QString answer;
        w.window->setFileChooser([&](QWidget*) { return answer; });
        w.engine->calls.clear();
        w.find<QAction>("mo")->trigger(); // cancelled: nothing is played
        QVERIFY(w.engine->calls.filter("playMovie").isEmpty());
        answer = "/v/c.flv";
        w.find<QAction>("mo")->trigger();
        QCOMPARE(w.engine->calls.filter("playMovie"), QStringList{"playMovie(/v/c.flv)"});
        w.engine->calls.clear();
        w.window->hide();
        w.find<QAction>("dkwj")->trigger(); // the tray's open plays twice
        QCOMPARE(w.engine->calls.filter("playMovie").count(), 2);
        QVERIFY(w.window->isVisible());
        // From the tray the window comes back even when the dialog is cancelled.
        answer.clear();
        w.window->hide();
        w.find<QAction>("dkwj")->trigger();
        QVERIFY(w.window->isVisible());

        WriteToIni("Media", "Url", "/v/d.flv", w.folder.filePath("Config.ini"));
        WriteToIni("Media", "Time", "37.5", w.folder.filePath("Config.ini"));
        w.engine->calls.clear();
        w.find<QAction>("dq")->trigger();
        QCOMPARE(w.engine->calls.mid(0, 2), QStringList({"playMovie(/v/d.flv)", "seek(38)"}));
        WriteToIni("Config", "AutoSave", "off", w.folder.filePath("Config.ini"));
        w.engine->calls.clear();
        w.find<QAction>("dq")->trigger();
        QVERIFY(w.engine->calls.filter("playMovie").isEmpty());
        auto* box = w.window->findChild<QMessageBox*>();
        QVERIFY(box);
        QCOMPARE(box->text(), QString("您未启动自动保存!"));
        QCOMPARE(box->windowTitle(), QString("警告"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
    }

    void keysOnTheVideo() {
        Window w;
        QWidget* video = w.control->inputArea();
        w.engine->calls.clear();
        QTest::keyClick(video, Qt::Key_Space);
        QCOMPARE(w.engine->calls.filter("pauseMovie").count(), 1);
        QTest::keyClick(video, Qt::Key_S); // KeyDown brings the key's code, case aside
        QCOMPARE(w.engine->calls.filter("StopMovie").count(), 1);
        QTest::keyClick(video, Qt::Key_L);
        QVERIFY(!w.window->isVisible());
        QCOMPARE(w.control->Volume(), 0);
        w.find<QAction>("zjm")->trigger();
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.control->Volume(), 35);
    }

    // The finder asks a service that never answers: the main window goes on taking its keys
    // meanwhile, and the question is still open when the key has done its work.
    void keysWorkWhileTheFinderWaits() {
        WebServer service;
        service.route("/parse.php", [](const QByteArray&) { return WebServer::Silent(); });
        Window w;
        WriteToIni("Net", "Parser", service.base(), w.folder.filePath("Config.ini"));
        w.find<QAction>("mnufx")->trigger();
        QWidget* dialog = w.windows.loaded(WindowId::Analysis);
        QVERIFY(dialog);
        dialog->findChild<QLineEdit*>("Text1")->setText("http://v.example/p/1.html");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QTRY_COMPARE(service.requests().size(), 1);
        w.engine->calls.clear();
        QTest::keyClick(w.control->inputArea(), Qt::Key_Space);
        QCOMPARE(w.engine->calls.filter("pauseMovie").count(), 1);
        auto* finder = w.windows.loaded<FinderWindow>(WindowId::Finder);
        QVERIFY(finder && finder->asking());
        QCOMPARE(service.openConnections(), 1);
    }

    void keysOnTheSeekSlider() {
        Window w;
        auto* sl1 = w.find<QSlider>("Sl1");
        sl1->setFocus();
        w.engine->calls.clear();
        QTest::keyClick(sl1, 's'); // the character road: 115 is not 83
        QVERIFY(w.engine->calls.filter("StopMovie").isEmpty());
        QTest::keyClick(sl1, 'S', Qt::ShiftModifier);
        QCOMPARE(w.engine->calls.filter("StopMovie").count(), 1);
        QTest::keyClick(sl1, ' ');
        QCOMPARE(w.engine->calls.filter("pauseMovie").count(), 1);
        QTest::keyClick(sl1, 'L', Qt::ShiftModifier); // hides, the sound goes on
        QVERIFY(!w.window->isVisible());
        QCOMPARE(w.control->Volume(), 35);
    }

    void keysOnTheWindowItself() {
        Window w;
        w.window->centralWidget()->setFocus();
        w.engine->calls.clear();
        QTest::keyClick(w.window.get(), 's');
        QVERIFY(w.engine->calls.filter("StopMovie").isEmpty());
        QTest::keyClick(w.window.get(), ' ');
        QCOMPARE(w.engine->calls.filter("pauseMovie").count(), 1);
        QTest::keyClick(w.window.get(), 'L', Qt::ShiftModifier);
        QVERIFY(!w.window->isVisible());
        QCOMPARE(w.control->Volume(), 0);
    }

    // Without a chooser of the test's own, 打开 opens the dialog over the main window and
    // returns; the answer plays the file later.
    void openDialogIsAnsweredLater() {
        Window w;
        w.engine->calls.clear();
        w.find<QAction>("mo")->trigger();
        auto* dialog = w.window->findChild<QFileDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        // The tray's 打开文件 finds the same dialog.
        w.find<QAction>("dkwj")->trigger();
        QCOMPARE(w.window->findChildren<QFileDialog*>().size(), 1);
        QVERIFY(w.engine->calls.filter("playMovie").isEmpty());
        const QString file = QStringLiteral(TEST_MEDIA_DIR "/h264_aac.flv");
        dialog->selectFile(file);
        static_cast<QDialog*>(dialog)->accept(); // as its 打开 button does
        QCOMPARE(w.engine->calls.filter("playMovie"), QStringList{"playMovie(" + file + ")"});
        QTRY_VERIFY(!w.window->findChild<QFileDialog*>());

        // Cancelled: nothing is played.
        w.engine->calls.clear();
        w.find<QAction>("mo")->trigger();
        dialog = w.window->findChild<QFileDialog*>();
        QVERIFY(dialog);
        dialog->reject();
        QVERIFY(w.engine->calls.filter("playMovie").isEmpty());
    }

    void openDialogShowsTheNamesAsTheyAre() {
        std::unique_ptr<QFileDialog> dialog(CreateOpenDialog(nullptr));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        QCOMPARE(dialog->windowTitle(), QString("打开Flv文件"));
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        QVERIFY(types);
        QStringList names;
        for (int i = 0; i < types->count(); ++i)
            names << types->itemText(i);
        QCOMPARE(names,
                 QStringList({"所有Flash Video视频文件(*.flv;*.f4v)", "普通Flash Video文件(*.flv)",
                              "高清Flash Video文件(*.f4v)", "所有文件(*.*)"}));
        QCOMPARE(types->currentIndex(), 0);
    }

    void dropPlaysALocalFile() {
        Window w;
        w.engine->calls.clear();
        QMimeData remote;
        remote.setUrls({QUrl("http://example.org/a.flv")});
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &remote, Qt::LeftButton, {});
        QApplication::sendEvent(w.window.get(), &refused);
        QVERIFY(!refused.isAccepted());
        QMimeData local;
        local.setUrls({QUrl::fromLocalFile("/v/my film.flv")});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &local, Qt::LeftButton, {});
        QApplication::sendEvent(w.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &local, Qt::LeftButton, {});
        QApplication::sendEvent(w.window.get(), &drop);
        QCOMPARE(w.engine->calls.filter("playMovie"), QStringList{"playMovie(/v/my film.flv)"});
    }

    void startsWithoutThePlayerLibrary() {
        QTemporaryDir folder;
        ProgramFolderForTesting programFolder(folder.path());
        Hook fastTicks(&StatusPresenter::SetIntervalForTesting, std::chrono::milliseconds(10));
        WindowCoordinator windows;
        RegisterProgramWindows(windows);
        MainWindow window(windows, [](QWidget*) { return nullptr; });
        windows.setMain(&window.controller());
        window.controller().load("/v/a.flv");
        window.show();
        QCOMPARE(window.flvWidget()->objectName(), QString("flv"));
        window.findChild<QAction*>("mplay")->trigger();
        window.findChild<QAction*>("mtz")->trigger();
        // The ticks go on without a player: the clock shows, the time text stays empty.
        QTRY_VERIFY(window.findChild<StatusPanels*>("S1")->panelText(2).startsWith("时间:"));
        QCOMPARE(window.findChild<QLabel*>("Label3")->text(), QString("00:00/00:00"));
        window.close();
        QCOMPARE(GetFromIni("Config", "Sound", folder.filePath("Config.ini")), QString("80"));
    }

    void playsARealFile() {
        QTemporaryDir folder;
        ProgramFolderForTesting programFolder(folder.path());
        WindowCoordinator windows;
        RegisterProgramWindows(windows);
        MainWindow window(windows, [](QWidget* parent) {
            return CreateControl("Flv.Velmora", parent, OVELO_PROGRAM_DIR);
        });
        windows.setMain(&window.controller());
        const QString file = TEST_MEDIA_DIR "/h264_aac.flv";
        window.controller().load(file);
        window.show();
        auto* label3 = window.findChild<QLabel*>("Label3");
        QCOMPARE(window.windowTitle(), "Ovelo 2011 Beta2 - 正在播放:" + file);
        QTRY_COMPARE_WITH_TIMEOUT(label3->text(), QString("1/4"), 10000);
        QVERIFY(window.findChild<QWidget*>("Picture2")->isHidden());
        // One second before the end the file is unloaded and the idle screen is back.
        QTRY_VERIFY_WITH_TIMEOUT(window.findChild<QWidget*>("Picture2")->isVisible(), 10000);
        QCOMPARE(window.player()->Movie(), QString());
        QTRY_COMPARE(label3->text(), QString("00:00/00:00"));
        // Unloading is no failure: the panel does not claim the file was bad.
        // Nothing happens: a late report of the unloaded file's end would come within a few of
        // the player's polls; four go by.
        QSignalSpy polls(window.findChild<QWidget*>("flv")->findChild<QTimer*>("Timer1"),
                         &QTimer::timeout);
        QTRY_VERIFY(polls.count() >= 4);
        QCOMPARE(window.findChild<StatusPanels*>("S1")->panelText(1), QString("播放"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
