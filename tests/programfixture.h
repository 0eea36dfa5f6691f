// The program's secondary windows over a stand-in main window, in a program folder of their own.
#pragma once

#include "platform/programfolder.h"
#include "player/standinplayer.h"
#include "settings/inifile.h"
#include "shell/programwindows.h"
#include "testguards.h"
#include "windows/coordinator.h"
#include "windows/mainaccess.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace ovelo::testing {

// A player that records what it is asked and whose figures the test sets. Pausing toggles
// between "Play" and "Pause", as the real one does.
struct ScriptedPlayer : StandInPlayer {
    explicit ScriptedPlayer(QWidget* parent = nullptr) : StandInPlayer(parent) {}
    void PlayMovie(const QString& path) override {
        played << path;
        movie = path;
        log << "PlayMovie(" + path + ")";
    }
    void PauseMovie() override {
        log << "PauseMovie";
        state = state == "Pause" ? "Play" : "Pause";
    }
    void StopMovie() override {
        log << "StopMovie";
        state = "Stop";
    }
    void GotoTime(qint32 seconds) override { log << QString("GotoTime(%1)").arg(seconds); }
    void SetVolume(qint32 level) override {
        log << QString("SetVolume(%1)").arg(level);
        StandInPlayer::SetVolume(level);
    }
    QString State() const override { return state; }
    float CurrentTime() const override { return time; }
    QString Movie() const override { return movie; }

    QStringList played;
    QStringList log;
    QString state;
    QString movie;
    float time = 0;
};

// The main window as the other windows see it.
struct FakeMain : MainAccess {
    flv::Velmora& mainPlayer() override { return player; }
    int volumeSliderValue() const override { return sliderVolume; }
    // Counted, not done: the test goes on.
    void endProgram() override { ++ended; }
    ScriptedPlayer player;
    int sliderVolume = 35;
    int ended = 0;
};

struct Program {
    Program() {
        RegisterProgramWindows(windows);
        windows.setMain(&main);
    }
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
    QString ini(const char* section, const char* key) const {
        return GetFromIni(section, key, folder.filePath("Config.ini"));
    }

    QTemporaryDir folder;
    // Put back after the windows have gone: their closing may still write settings.
    ProgramFolderForTesting programFolder{folder.path()};
    FakeMain main;
    WindowCoordinator windows;
};

} // namespace ovelo::testing
