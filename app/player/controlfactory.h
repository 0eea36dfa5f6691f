// Creates controls by ProgID from the libraries in the program's folder.
#pragma once

#include <QString>
#include <QWidget>

namespace ovelo {

// nullptr (and a logged warning) when no library there offers progId.
QWidget* CreateControl(const QString& progId, QWidget* parent, const QString& folder = {});

} // namespace ovelo
