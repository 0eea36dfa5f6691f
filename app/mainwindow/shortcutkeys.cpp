#include "mainwindow/shortcutkeys.h"

#include "settings/config.h"

#include <QLocale>

namespace ovelo {

namespace {

double KeyCode(IniEntry entry) {
    bool ok = false;
    const double code = QLocale::c().toDouble(ReadSetting(entry).trimmed(), &ok);
    return ok ? code : 0;
}

bool Matches(double key, int code) {
    return code != 0 && key == code;
}

} // namespace

ShortcutKeys ShortcutKeys::FromSettings() {
    ShortcutKeys keys;
    if (ReadSetting(ini::KeysOn) != QLatin1String(ini::On))
        return keys;
    const bool bossKeyOn = ReadSetting(ini::BossKeyOn) == QLatin1String(ini::On);
    keys.play = KeyCode(ini::PlayKey);
    keys.stop = KeyCode(ini::StopKey);
    if (bossKeyOn)
        keys.boss = KeyCode(ini::BossKey);
    return keys;
}

std::vector<Command> ShortcutKeys::commandsFor(int code, Place place) const {
    std::vector<Command> commands;
    const bool onWindow = place == Place::Window;
    if (Matches(boss, code))
        commands.push_back(onWindow ? Command::HideAndSilence : Command::ToggleWindowShown);
    if (onWindow && Matches(stop, code))
        commands.push_back(Command::Stop);
    if (Matches(play, code))
        commands.push_back(Command::TogglePlayback);
    if (!onWindow && Matches(stop, code))
        commands.push_back(Command::Stop);
    return commands;
}

} // namespace ovelo
