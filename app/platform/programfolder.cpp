#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcProgramFolder, "ovelo.programfolder", QtWarningMsg)

namespace ovelo {

namespace {

// Deep enough for Skin/ and Img/, and an end to a link that points back up.
constexpr int kMaxDepth = 8;

QString& FolderForTesting() {
    static QString folder;
    return folder;
}

bool IsProgramCode(const QFileInfo& file) {
    const QString name = file.fileName();
    return file.isExecutable() || name.endsWith(QLatin1String(".so")) ||
           name.contains(QLatin1String(".so."));
}

void CopyMissing(const QDir& from, const QDir& to, int depth) {
    const auto entries = from.entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QString target = to.filePath(entry.fileName());
        // Read beside the executable only: a copy would stay behind when the program changes.
        if (depth == 0 && entry.fileName() == QLatin1String(kTranslationsFolder))
            continue;
        if (entry.isDir()) {
            if (depth < kMaxDepth && QDir().mkpath(target))
                CopyMissing(QDir(entry.filePath()), QDir(target), depth + 1);
        } else if (!IsProgramCode(entry) && !QFileInfo::exists(target) &&
                   !CopyFileReplacing(entry.filePath(), target)) {
            qCWarning(lcProgramFolder) << "cannot copy" << entry.filePath() << "to" << target;
        }
    }
}

} // namespace

QString ProgramFolder() {
    if (!FolderForTesting().isEmpty())
        return FolderForTesting();
    if (!QCoreApplication::instance()) {
        qCWarning(lcProgramFolder) << "no program folder before the application object";
        return {};
    }
    // The generic location, not AppDataLocation: it does not move when an organisation name is
    // set later.
    static const QString folder = [] {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        return ResolveProgramFolder(QCoreApplication::applicationDirPath(),
                                    data.isEmpty() ? QString() : data + QLatin1String("/Ovelo"));
    }();
    return folder;
}

// Through a temporary file: a copy cut short would otherwise count as a file the user has,
// and never be replaced. Reading first makes a copy onto itself harmless.
bool CopyFileReplacing(const QString& from, const QString& to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    QSaveFile out(to);
    // flush() before commit(), which ignores a failed buffered write.
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush() &&
           out.commit();
}

void SetProgramFolderForTesting(const QString& folder) {
    FolderForTesting() = folder;
}

QString ResolveProgramFolder(const QString& executableFolder, const QString& userFolder) {
    const QString shipped = QDir::cleanPath(executableFolder);
    if (QFileInfo(shipped).isWritable())
        return shipped;
    // Without a home there is no user folder, and the settings cannot be saved.
    if (QDir::isAbsolutePath(userFolder) && QDir().mkpath(userFolder)) {
        CopyShippedData(shipped, userFolder);
        return QDir::cleanPath(userFolder);
    }
    qCWarning(lcProgramFolder) << "cannot create" << userFolder << "- settings stay unsaved";
    return shipped;
}

void CopyShippedData(const QString& from, const QString& to) {
    CopyMissing(QDir(from), QDir(to), 0);
}

QString NativePath(const QString& programFolder, const QString& storedRelativePath) {
    QString relative = storedRelativePath;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    if (programFolder.endsWith(QLatin1Char('/')))
        return programFolder + relative;
    return programFolder + QLatin1Char('/') + relative;
}

QString ConfigIniPath() {
    return NativePath(ProgramFolder(), QStringLiteral("Config.ini"));
}

} // namespace ovelo
