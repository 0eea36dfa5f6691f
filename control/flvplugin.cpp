#include "flvplugin.h"

#include "velmoracontrol.h"

namespace flv {

QWidget* FlvPlugin::CreateControl(const QString& progId, QWidget* parent) {
    if (progId.compare(QLatin1String(ProgId), Qt::CaseInsensitive) != 0)
        return nullptr;
    return new VelmoraControl(parent);
}

} // namespace flv
