// The classes root's store read from any file; what it reads writes back to the same store, and
// the keys and values it reads answer as the program asks for them.
#include "association/classesroot.h"
#include "fuzzinput.h"

#include <cstdlib>

namespace {

void Require(bool holds) {
    if (!holds)
        std::abort();
}

// A text value reads back up to its first NUL.
QString UpToNull(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.first(nul);
}

// Every key read is found by its path, every value answers, and a text set in each key reads
// back without adding a key.
void SetInEveryKey(ovelo::ClassesRoot root) {
    const QStringList paths = root.keyPaths();
    for (const QString& path : paths) {
        Require(root.hasKey(path));
        for (const QString& name : root.valueNames(path))
            root.value(path, name);
        root.setValue(path, QStringLiteral("fuzz"), path);
        Require(root.value(path, QStringLiteral("FUZZ")) == UpToNull(path));
    }
    Require(root.keyPaths() == paths);
    if (!paths.isEmpty()) {
        root.setValue(paths.last() + QLatin1String("\\fuzz"), {}, QStringLiteral("x"));
        Require(root.value(paths.last() + QLatin1String("\\FUZZ")) == QStringLiteral("x"));
    }
    const QByteArray bytes = root.toBytes();
    const auto reread = ovelo::ClassesRoot::fromBytes(bytes);
    Require(reread && reread->toBytes() == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto root = ovelo::ClassesRoot::fromBytes(fuzz::Bytes(data, size));
    if (!root)
        return 0;
    const QByteArray again = root->toBytes();
    const auto reread = ovelo::ClassesRoot::fromBytes(again);
    Require(reread && reread->toBytes() == again);
    SetInEveryKey(*root);
    return 0;
}
