// The update server: where the version file and the installer are, and the read of the
// version file.
#pragma once

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

// The whole body of the version file at `url`, as text, untrimmed; "" when the server cannot
// be reached, answers with anything but success, or sends too much or too slowly.
QString ReadLatestVersion(const QUrl& url);

} // namespace ovelo
