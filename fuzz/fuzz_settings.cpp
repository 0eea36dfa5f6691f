// The settings file's reader over any file, and a write into it: the file still reads, and
// the written key reads back.
#include "fuzzinput.h"
#include "settings/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString file = dir.filePath("Config.ini");
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        out.write(fuzz::Bytes(data, size));
    }
    for (const char* key : {"Sound", "Url", "Time"})
        ovelo::GetFromIni("Config", key, file);
    ovelo::GetFromIni("Media", "Url", file);
    const QString value = QStringLiteral("C:\\v\\视频 %1.flv").arg(size);
    ovelo::WriteToIni("Media", "Url", value, file);
    if (ovelo::GetFromIni("Media", "Url", file) != value)
        std::abort();
    ovelo::GetFromIni("Config", "Sound", file);
    return 0;
}
