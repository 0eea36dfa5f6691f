#include "controlfactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QJsonArray>
#include <QLoggingCategory>
#include <QPluginLoader>

Q_LOGGING_CATEGORY(lcControls, "ovelo.controls", QtWarningMsg)

namespace ovelo {

namespace {

bool Offers(const QJsonObject& metaData, const QString& progId) {
    const QJsonArray ids = metaData.value("MetaData").toObject().value("ProgIDs").toArray();
    for (const auto& id : ids)
        if (id.toString().compare(progId, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QObject* FindFactory(const QString& progId, const QString& folder) {
    static QHash<QString, QObject*> loaded;
    const QString key = folder + QLatin1Char('|') + progId.toLower();
    if (QObject* factory = loaded.value(key))
        return factory;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({"*.so"}, QDir::Files)) {
        QPluginLoader loader(dir.filePath(name));
        if (!Offers(loader.metaData(), progId))
            continue;
        if (QObject* factory = loader.instance()) {
            loaded.insert(key, factory);
            return factory;
        }
        qCWarning(lcControls) << "cannot load" << name << loader.errorString();
    }
    return nullptr;
}

} // namespace

QWidget* CreateControl(const QString& progId, QWidget* parent, const QString& folder) {
    const QString where = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    QObject* factory = FindFactory(progId, where);
    QWidget* control = nullptr;
    // Late bound, as a host without the interface header would do it.
    if (factory)
        QMetaObject::invokeMethod(factory, "CreateControl", Qt::DirectConnection,
                                  Q_RETURN_ARG(QWidget*, control), Q_ARG(QString, progId),
                                  Q_ARG(QWidget*, parent));
    if (!control)
        qCWarning(lcControls) << "no library in" << where << "offers" << progId;
    return control;
}

} // namespace ovelo
