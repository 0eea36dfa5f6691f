#include "association.h"

#include "platform/regularfile.h"
#include "registration.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcAssociation, "ovelo.association", QtWarningMsg)

namespace ovelo {

namespace {

// A store this big was not written by the program.
constexpr qint64 kMaxStoreBytes = 1 << 20;

ClassesRoot LoadStore(const QString& path) {
    if (path.isEmpty() || KindOfPath(path) == PathKind::Missing)
        return {};
    const std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxStoreBytes);
    std::optional<ClassesRoot> root = bytes ? ClassesRoot::fromBytes(*bytes) : std::nullopt;
    if (!root) {
        qCInfo(lcAssociation) << "damaged or unreadable, replaced:" << path;
        return {};
    }
    return std::move(*root);
}

void SaveStore(const ClassesRoot& root, const QString& path) {
    if (path.isEmpty())
        return;
    const QByteArray bytes = root.toBytes();
    if (ReadRegularFile(path, kMaxStoreBytes) == bytes)
        return;
    if (!QDir().mkpath(QFileInfo(path).path()) || !WriteFileAtomically(path, bytes))
        qCInfo(lcAssociation) << "cannot write" << path;
}

} // namespace

AssociationPlaces UserAssociationPlaces() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // Beside the settings of an installed program, in the user's own program folder.
    const QString store =
        data.isEmpty() ? QString() : data + QLatin1String("/Ovelo/classes-root.txt");
    return {store, {data, config}};
}

void RegisterFileAssociations(const QString& programFolder, const QString& executable,
                              const AssociationPlaces& places) {
    QElapsedTimer timer;
    timer.start();
    ClassesRoot root = LoadStore(places.store);
    RegisterFileTypes(root, programFolder, executable);
    SaveStore(root, places.store);
    UpdateDesktop(root, executable, places.desktop);
    qCDebug(lcAssociation) << "registered in" << timer.nsecsElapsed() / 1000 << "us";
}

void RegisterFileAssociations() {
    // The shipped folder, also for an installation whose settings live in the user's folder:
    // the icons are there, and so is the executable.
    RegisterFileAssociations(QCoreApplication::applicationDirPath(),
                             QCoreApplication::applicationFilePath(), UserAssociationPlaces());
}

} // namespace ovelo
