#include "flvplugin.h"

#include "product.h"
#include "velmoracontrol.h"

#include <string_view>

namespace flv {

// Hosts build with the interface header alone, so it spells the ProgID out; the metadata lists
// the product's, and a host must find the one it asks for.
static_assert(std::string_view(ProgId) == ovelo::kProgId);

QWidget* FlvPlugin::CreateControl(const QString& progId, QWidget* parent) {
    if (progId.compare(QLatin1String(ProgId), Qt::CaseInsensitive) != 0)
        return nullptr;
    return new VelmoraControl(parent);
}

} // namespace flv
