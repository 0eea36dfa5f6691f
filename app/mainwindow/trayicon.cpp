#include "mainwindow/trayicon.h"

#include "icons/icons.h"
#include "product.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

namespace ovelo {

QSystemTrayIcon* CreateTrayIcon(QWidget* owner, std::function<void()> restore, QMenu* menu) {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return nullptr;
    auto* icon = new QSystemTrayIcon(PlayIcon(), owner);
    icon->setObjectName("trayIcon");
    icon->setToolTip(QString::fromLatin1(kProductTitle));
    // Called directly, not through the pointer-position rule: its numbers depend on the
    // screen's dpi and miss at several of them.
    QObject::connect(icon, &QSystemTrayIcon::activated, owner,
                     [restore = std::move(restore), menu](QSystemTrayIcon::ActivationReason why) {
                         if (why == QSystemTrayIcon::Trigger)
                             restore();
                         else if (why == QSystemTrayIcon::Context && menu)
                             menu->popup(QCursor::pos());
                     });
    icon->show();
    return icon;
}

} // namespace ovelo
