// The secondary windows over a stand-in main window, in a program folder of their own: what
// the tests of the windows share.
#pragma once

#include "platform/programfolder.h"
#include "player/standinplayer.h"
#include "settings/inifile.h"
#include "windows/coordinator.h"
#include "windows/mainaccess.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace ovelo::testing {

// The main window as the other windows see it: a player that records what it is asked.
struct FakeMain : MainAccess {
    struct Player : StandInPlayer {
        void PlayMovie(const QString& path) override { played << path; }
        QStringList played;
    } player;
    flv::Velmora& mainPlayer() override { return player; }
    int volumeSliderValue() const override { return 35; }
};

// A program folder of its own and the windows over a fake main window.
struct Program {
    Program() {
        SetProgramFolderForTesting(folder.path());
        windows.setMain(&main);
    }
    ~Program() { SetProgramFolderForTesting({}); }
    template <typename T = QWidget> T* child(WindowId id, const char* name) {
        QWidget* w = windows.loaded(id);
        return w ? w->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }
    void click(WindowId id, const char* button) {
        QTest::mouseClick(child<QPushButton>(id, button), Qt::LeftButton);
    }
    void setIni(const char* section, const char* key, const QString& value) {
        WriteToIni(section, key, value, folder.filePath("Config.ini"));
    }

    QTemporaryDir folder;
    FakeMain main;
    WindowCoordinator windows;
};

} // namespace ovelo::testing
