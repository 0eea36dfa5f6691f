// The main window, Form1: it builds and lays out the player, its controls, the status bar, the
// menus and the tray icon, and hands what happens on them to its controller, its status
// presenter and its commands.
#pragma once

#include "mainwindow/mainview.h"
#include "player/playerhost.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QFileDialog;
class QLabel;
class QMenu;
class QSlider;
class QSystemTrayIcon;
class QToolButton;

namespace ovelo {

class CommandSet;
class MediaCommands;
class MediaControls;
class PlaybackController;
class StatusPanels;
class StatusPresenter;
class WindowCoordinator;
struct MenuRow;

class MainWindow : public QMainWindow, private MainView {
    Q_OBJECT
  public:
    // Asks for a file to open; "" when the user cancels. Tests answer in place of the dialog.
    using FileChooser = std::function<QString(QWidget* parent)>;
    using ControlCreator = PlayerHost::ControlCreator;

    // `windows` makes and unloads the other windows; it outlives this window.
    explicit MainWindow(WindowCoordinator& windows, const ControlCreator& createControl = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    PlaybackController& controller() const { return *controller_; }
    const CommandSet& commands() const { return *commands_; }
    MediaCommands& mediaControls() const;
    flv::Velmora* player() const { return player_; }
    QWidget* flvWidget() const { return flvWidget_; }
    QMenu* menu(const QString& name) const { return menus_.value(name); }
    // 操作, also the video's right-click menu, and 托盘菜单项, which only pops up.
    QMenu* operationMenu() const { return menu(QStringLiteral("ms")); }
    QMenu* trayMenu() const { return menu(QStringLiteral("tc")); }
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    // The pictures of the idle screen, in the order they are shown and hidden.
    QList<QWidget*> idlePictures() const;

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
    // Building, in mainwindow.cpp and commandtable.cpp.
    void createControls(const ControlCreator& createControl);
    void createButtons();
    void createIdlePictures();
    void createCommands(WindowCoordinator& windows);
    void createMenus();
    // Keys and the pointer over the window, in mainwindowinput.cpp.
    void keyPressed(int code, bool onSeekSlider);
    void pointerMoved(double xTwips);

    // MainView.
    void recordLayout() override;
    void setCaption(const QString& caption) override;
    void focusVideo() override;
    int volumeSliderValue() const override;
    void setVolumeSliderValue(int value) override;
    void setSeekSliderValue(int value) override;
    void setIdleScreenShown(bool shown) override;
    void showAndFocus() override;
    void setWindowShown(bool shown) override;
    bool windowShown() const override;
    QScreen* windowScreen() const override;
    QSize outerSizeTwips() const override;
    void chooseFile(std::function<void(const QString&)> chosen) override;
    void refuse(const QString& text) override;
    void closeWindow() override;

    std::optional<PlayerHost> host_;
    flv::Velmora* player_ = nullptr;
    QWidget* client_ = nullptr;
    QWidget* flvWidget_ = nullptr;
    QLabel* banner_ = nullptr;
    QSlider* seekSlider_ = nullptr;
    QSlider* volumeSlider_ = nullptr;
    QList<QToolButton*> idlePictures_;
    QHash<QString, QMenu*> menus_;
    QSystemTrayIcon* trayIcon_ = nullptr;
    std::unique_ptr<PlaybackController> controller_;
    std::unique_ptr<StatusPresenter> status_;
    CommandSet* commands_ = nullptr;
    std::unique_ptr<MediaControls> mediaControls_;
    FileChooser chooseFile_;
    // The open dialog while it shows: one at a time.
    QPointer<QFileDialog> openDialog_;
};

} // namespace ovelo
