// The library's entry: offers the controls listed in its metadata.
#pragma once

#include "flv/velmora.h"

#include <QObject>

namespace flv {

class FlvPlugin : public QObject, public VelmoraFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID FLV_FACTORY_IID FILE "flv.json")
    Q_INTERFACES(flv::VelmoraFactory)
  public:
    // Also reachable by name, for hosts without the interface header.
    Q_INVOKABLE QWidget* CreateControl(const QString& progId, QWidget* parent = nullptr) override;
};

} // namespace flv
