// Reading files that should be small regular files, without ever waiting on anything else: a
// settings path can name a FIFO, a device or a link to one. Writing them whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace ovelo {

enum class PathKind { Missing, RegularFile, Other };

// What `path` names, links followed. A link that leads nowhere (missing or looping) is Other:
// something is there that a write should not replace.
PathKind KindOfPath(const QString& path);

// The whole content of the regular file `path`, or nothing when it holds more than `maxBytes`
// bytes (whatever its size said when opened), cannot be read, or is not a regular file.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes);

// Replaces `path` with `bytes` as a whole, or leaves it as it was. False when it could not.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace ovelo
