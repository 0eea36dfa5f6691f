// The engine's calls with any name and arguments, as the request text carries them, with
// null outputs: the first line is the name, each further line an argument.
#include "fuzzinput.h"
#include "movie/playermovie.h"
#include "velmoracontrol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnsureApplication();
    static flv::PlayerMovie engine(flv::SurfaceKind::Null);
    QStringList lines = fuzz::Text(data, size).split(QLatin1Char('\n'));
    const QString name = lines.takeFirst();
    // Only what needs no file: a name to play would make this a fuzzer of the demuxers.
    if (name == QLatin1String("playMovie"))
        return 0;
    QVariantList arguments;
    for (const QString& line : lines)
        arguments << line;
    flv::VelmoraControl::BuildRequest(name, arguments);
    engine.Call(name, lines);
    QCoreApplication::processEvents();
    return 0;
}
