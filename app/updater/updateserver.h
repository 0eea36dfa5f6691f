// The update server: where the version file and the installer are, and the read of the
// version file.
#pragma once

#include "platform/webfetch.h"

#include <QString>
#include <QUrl>
#include <chrono>

namespace ovelo {

// A version file is a few characters; the bounds only keep a broken or hostile server from
// stalling the window or filling the memory while the user waits.
inline constexpr std::chrono::seconds kVersionReadTimeout{15};
inline constexpr qint64 kMaxVersionFileBytes = 64 * 1024;

inline constexpr char kVersionFilePath[] = "/download/Update.txt";
inline constexpr char kInstallerPath[] = "/download/Up.exe";

// The two files on the configured update server ([Net] Update).
QUrl VersionFileUrl();
QUrl InstallerUrl();

// Starts reading the version file at `url`, bounded by kVersionReadTimeout and
// kMaxVersionFileBytes. `window` owns the read: closing the window ends it.
WebFetch* FetchLatestVersion(const QUrl& url, QObject* window);

// The whole body of the version file a fetch brought, as text, untrimmed; "" when the server
// could not be reached, answered with anything but success, or sent too much or too slowly.
QString LatestVersion(const FetchResult& answer);

} // namespace ovelo
