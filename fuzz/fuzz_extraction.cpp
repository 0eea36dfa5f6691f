// The finder's link extraction from any page, writing its url.dat to a temporary folder.
#include "finder/extraction.h"
#include "fuzzinput.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QStringList links =
        ovelo::FlvUrl_In_Html(fuzz::Text(data, size), dir.filePath("url.dat"));
    ovelo::LastVideoAddress(links);
    return 0;
}
