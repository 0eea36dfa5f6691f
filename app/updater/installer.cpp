#include "updater/installer.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcInstaller, "ovelo.updater.installer", QtWarningMsg)

namespace ovelo {

QString InstallerFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

namespace {
int starts = 0;
} // namespace

int InstallerStartsForTesting() {
    return starts;
}

bool StartInstaller(const QString& path) {
    ++starts;
    QFile file(path);
    const QFileDevice::Permissions executable = QFileDevice::ExeOwner | QFileDevice::ExeUser;
    if (!file.setPermissions(file.permissions() | executable))
        qCWarning(lcInstaller) << "cannot mark executable:" << path << file.errorString();
    const bool started = QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
    if (!started)
        qCInfo(lcInstaller) << "cannot start" << path;
    return started;
}

} // namespace ovelo
