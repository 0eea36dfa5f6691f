// Config.ini's sections and keys by name, and the program's reads and writes of them.
//
// Every value is read from the file at the moment it is used and written key by key at once:
// there is no settings object in memory, so a value one window writes is what the next read
// anywhere sees.
#pragma once

#include <QString>
#include <optional>

namespace ovelo {

struct IniEntry {
    const char* section;
    const char* key;
};

namespace ini {
inline constexpr IniEntry SkinUrl{"Skin", "Url"};
inline constexpr IniEntry Title{"Config", "Title"};
inline constexpr IniEntry Sound{"Config", "Sound"};
inline constexpr IniEntry AutoSave{"Config", "AutoSave"};
inline constexpr IniEntry MediaTime{"Media", "Time"};
inline constexpr IniEntry MediaUrl{"Media", "Url"};
inline constexpr IniEntry WindowHeight{"Load", "H"};
inline constexpr IniEntry WindowWidth{"Load", "W"};
inline constexpr IniEntry KeysOn{"Fast", "Key"};
inline constexpr IniEntry BossKeyOn{"Fast", "LaoBanKey"};
inline constexpr IniEntry PlayKey{"Fast", "Play"};
inline constexpr IniEntry StopKey{"Fast", "Stop"};
inline constexpr IniEntry BossKey{"Fast", "LaoBan"};
inline constexpr IniEntry Version{"Version", "version"};
inline constexpr IniEntry Site{"Net", "Site"};
inline constexpr IniEntry Parser{"Net", "Parser"};
inline constexpr IniEntry Update{"Net", "Update"};

// Switches compare exactly: "On" is neither.
inline constexpr char On[] = "on";
inline constexpr char Off[] = "off";
} // namespace ini

// The entry's value in the program's Config.ini; "" when missing.
QString ReadSetting(IniEntry entry);
// Stores one value in the program's Config.ini at once; failures are logged, not reported.
void WriteSetting(IniEntry entry, const QString& value);
// The entry's whole-number value, or nothing when it is missing or not a whole number.
std::optional<int> ReadWholeNumber(IniEntry entry);

} // namespace ovelo
