// What the engine may open for a name the host gives: one local file, or one address over HTTP.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace flv {

struct MediaName {
    QByteArray target; // as libmpv is handed it
    bool remote = false;
};

// A regular file that exists (by any name, "-" and names with control characters included)
// becomes its absolute path, so libmpv never reads it as standard input or a protocol; an
// http or https address stays as it is. Anything else (a directory, a FIFO, a device, another
// protocol) gives nothing: opening a FIFO without a writer would block libmpv for good.
std::optional<MediaName> ResolveMediaName(const QString& name);

} // namespace flv
