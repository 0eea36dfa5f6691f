#include "medianame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <sys/stat.h>

namespace flv {

namespace {

bool IsRegularFile(const QString& path) {
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<MediaName> LocalFile(const QString& path) {
    if (path.isEmpty() || !IsRegularFile(path))
        return std::nullopt;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return MediaName{QFile::encodeName(absolute), false};
}

} // namespace

std::optional<MediaName> ResolveMediaName(const QString& name) {
    if (auto local = LocalFile(name))
        return local;
    const QUrl url(name);
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return MediaName{name.toUtf8(), true};
    if (scheme == QLatin1String("file") && url.isLocalFile())
        return LocalFile(url.toLocalFile());
    return std::nullopt;
}

} // namespace flv
