// The user's list of default applications (mimeapps.list), edited line by line.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace ovelo {

// `content` with each of `types` set to `desktopId` under [Default Applications]: a line of
// one of them is replaced where it stands, a missing one is added after the section's last
// line (the section at the end when there is none). Every other line keeps its bytes and place.
QByteArray WithDefaultApplication(QByteArrayView content, const QStringList& types,
                                  const QString& desktopId);

} // namespace ovelo
