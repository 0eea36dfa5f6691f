// A main window over a fake player, in a program folder of its own: what the main window's
// tests share.
#pragma once

#include "mainwindow/mainwindow.h"
#include "mainwindow/playbackcontroller.h"
#include "mainwindow/statuspanels.h"
#include "mainwindow/statuspresenter.h"
#include "movie/movieengine.h"
#include "platform/programfolder.h"
#include "settings/inifile.h"
#include "shell/programwindows.h"
#include "testguards.h"
#include "velmoracontrol.h"
#include "windows/coordinator.h"

#include <QTemporaryDir>
#include <QtTest>

namespace ovelo::testing {

class FakeEngine : public flv::MovieEngine {
  public:
    QString Call(const QString& name, const QStringList& args) override {
        calls << (name + "(" + args.join(",") + ")");
        if (name == "playMovie" && !args.value(0).isEmpty())
            emit FSCommand("State", "Play");
        return {};
    }
    void SetBGColor(const QString&) override {}
    QWidget* Surface() override { return nullptr; }
    QStringList calls;
};

inline constexpr const char* kKeysIni =
    "[Config]\r\nTitle=Ovelo 2011 Beta2\r\nSound=35\r\nAutoSave=on\r\n"
    "[Fast]\r\nKey=on\r\nLaoBanKey=on\r\nPlay=32\r\nStop=83\r\nLaoBan=76\r\n";

// A main window over a fake player, in a program folder of its own.
struct Window {
    explicit Window(const QByteArray& ini = kKeysIni, const QString& commandLine = {}) {
        if (!ini.isNull()) {
            QFile file(folder.filePath("Config.ini"));
            file.open(QIODevice::WriteOnly);
            file.write(ini);
        }
        RegisterProgramWindows(windows);
        window = std::make_unique<MainWindow>(windows, [this](QWidget* parent) {
            control = new flv::VelmoraControl(parent, [this](QObject*) {
                engine = new FakeEngine;
                return engine;
            });
            return control;
        });
        windows.setMain(&window->controller());
        window->controller().load(commandLine);
        window->show();
    }
    template <typename T> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QString ini(const char* section, const char* key) const {
        return GetFromIni(section, key, folder.filePath("Config.ini"));
    }
    void report(const QString& command, const QString& args) {
        control->OnFSCommand(command, args);
    }
    QString panel(int n) const { return find<StatusPanels>("S1")->panelText(n); }

    // The display follows the player on ticks ten times as frequent as the program's, so what
    // the tests wait for comes soon.
    Hook<std::chrono::milliseconds> fastTicks{&StatusPresenter::SetIntervalForTesting,
                                              std::chrono::milliseconds(10)};
    QTemporaryDir folder;
    // Put back after the window has gone: its closing may still write its settings.
    ProgramFolderForTesting programFolder{folder.path()};
    WindowCoordinator windows;
    std::unique_ptr<MainWindow> window;
    flv::VelmoraControl* control = nullptr;
    FakeEngine* engine = nullptr;
};

} // namespace ovelo::testing
