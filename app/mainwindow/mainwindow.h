// The main window, Form1: the player, its controls, the status display, menus and keys.
#pragma once

#include "player/playerhost.h"
#include "session/mediacommands.h"
#include "windows/mainaccess.h"
#include "windows/windowid.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>

class QFileDialog;
class QLabel;
class QMenu;
class QSlider;
class QSystemTrayIcon;
class QToolButton;
class QPushButton;

namespace ovelo {

class StatusPanels;
class WindowCoordinator;

class MainWindow : public QMainWindow, public MainAccess, public MediaCommands {
    Q_OBJECT
  public:
    // Asks for a file to open; "" when the user cancels.
    using FileChooser = std::function<QString(QWidget* parent)>;
    using ControlCreator = PlayerHost::ControlCreator;

    // `windows` makes and unloads the other windows; it outlives this window.
    explicit MainWindow(WindowCoordinator& windows, const ControlCreator& createControl = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up: layout, settings, title, volume, keys, the command line's file, then the
    // registration as the handler of .flv and .f4v files.
    void Load(const QString& commandLineText);
    // Writes what a close keeps and unloads the other windows; the window closes after it.
    void RunCloseSequence();
    // 退出: the close sequence, then the window closes, which runs it once more.
    void Quit();

    flv::Velmora& mainPlayer() override { return *player_; }
    int volumeSliderValue() const override;
    QScreen* mainScreen() const override { return screen(); }
    void endProgram() override;

    // The desktop's media controls, in mainmedia.cpp.
    const flv::Velmora& mediaPlayer() const override { return *player_; }
    void togglePlayback() override;
    void stopPlayback() override;
    void seekTo(qint32 seconds) override;
    int volumeLevel() const override;
    void setVolumeLevel(int level) override;
    void playAddress(const QString& address) override;
    void raiseWindow() override;
    void quitProgram() override;
    bool videoOnScreen() const override;

    flv::Velmora* player() const { return player_; }
    QWidget* flvWidget() const { return flvWidget_; }
    QMenu* menu(const QString& name) const { return menus_.value(name); }
    // 操作, also the video's right-click menu, and 托盘菜单项, which only pops up.
    QMenu* operationMenu() const { return menu(QStringLiteral("ms")); }
    QMenu* trayMenu() const { return menu(QStringLiteral("tc")); }
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    // The pictures of the idle screen, in the order they are shown and hidden.
    QList<QWidget*> idlePictures() const;

    // The argument text as the player gets it: joined by spaces, quotes blanked, trimmed.
    static QString CommandLineText(const QStringList& arguments);

  signals:
    // The window has been closed for good: the program may end.
    void closed();

  public slots:
    // The player's events, bound by name.
    void flv_PlayProgress(float TotalTime, float CurrentTime, float BufferLength);
    void flv_OnReadyStateChange(const QString& newState);
    void flv_MouseDown(short Button, short Shift, float X, float Y);
    void flv_MouseMove(short Button, short Shift, float X, float Y);
    void flv_KeyDown(short KeyCode, short Shift);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Building, in mainwindow.cpp and mainmenus.cpp.
    void createControls(const ControlCreator& createControl);
    void createButtons();
    void createIdlePictures();
    void createMenus();
    std::function<void()> showWindow(WindowId id);
    // Playback commands and the status display, in mainplayback.cpp.
    void OpenFile(int plays);
    void PlayChosenFile(const QString& chosen, int plays);
    void ResumeSavedPosition();
    void Timer1Tick();
    void ShowClock();
    void Timer2Tick();
    void Sl1Scroll();
    void Sl2Scroll();
    void SetIdlePicturesVisible(bool visible);
    void UnloadMovie();
    void EnterFullScreen();
    void OpenProductSite();
    void OpenProductForum();
    // Keys, mouse and the boss key, in mainkeys.cpp.
    void KeyOnWindow(int code);
    void KeyOnSeekSlider(int keyAscii);
    void MouseMoveRule(double xTwips);
    void RestoreMainWindow();
    void ShowAndFocus();
    void OpenAddressFromTray();
    bool KeyMatches(const QLabel* label, double code) const;

    WindowCoordinator& windows_;
    std::optional<PlayerHost> host_;
    flv::Velmora* player_ = nullptr;
    QWidget* client_ = nullptr;
    QWidget* flvWidget_ = nullptr;
    QSlider* sl1_ = nullptr;
    QSlider* sl2_ = nullptr;
    QLabel* label3_ = nullptr;
    QPushButton* cmdplay_ = nullptr;
    QLabel* picture1_ = nullptr;
    QList<QToolButton*> idlePictures_;
    StatusPanels* s1_ = nullptr;
    QLabel* lplay_ = nullptr;
    QLabel* lstop_ = nullptr;
    QLabel* llaoban_ = nullptr;
    QHash<QString, QMenu*> menus_;
    QAction* mnuqp_ = nullptr;
    QSystemTrayIcon* trayIcon_ = nullptr;
    QTimer timer1_;
    QTimer timer2_;
    // What the status ticks showed last: a tick that finds the same skips the formatting.
    struct TimeText {
        bool loaded = false;
        qint64 seconds = 0;
        qint32 total = 0;
        bool operator==(const TimeText&) const = default;
    };
    struct {
        qint64 clockSecond = -1;
        int volumeTip = -1;
        std::optional<TimeText> timeText;
    } shown_;
    FileChooser chooseFile_;
    // The open dialog while it shows: one at a time.
    QPointer<QFileDialog> openDialog_;
    bool closing_ = false;
};

} // namespace ovelo
