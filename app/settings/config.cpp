#include "settings/config.h"

#include "platform/programfolder.h"
#include "settings/inifile.h"

namespace ovelo {

QString ReadSetting(IniEntry entry) {
    return GetFromIni(QLatin1String(entry.section), QLatin1String(entry.key), ConfigIniPath());
}

void WriteSetting(IniEntry entry, const QString& value) {
    WriteToIni(QLatin1String(entry.section), QLatin1String(entry.key), value, ConfigIniPath());
}

std::optional<int> ReadWholeNumber(IniEntry entry) {
    bool whole = false;
    const int value = ReadSetting(entry).toInt(&whole);
    return whole ? std::optional<int>(value) : std::nullopt;
}

} // namespace ovelo
