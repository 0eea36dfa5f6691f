#include "player/playerhost.h"

#include "player/controlfactory.h"
#include "player/standinplayer.h"

#include "flv/velmora.h"

#include <QLoggingCategory>
#include <QMetaMethod>

Q_LOGGING_CATEGORY(lcPlayerHost, "ovelo.player", QtWarningMsg)

namespace ovelo {

namespace {

QMetaMethod FindSignal(const QMetaObject* meta, const QByteArray& name) {
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal && method.name() == name)
            return method;
    }
    return {};
}

} // namespace

PlayerHost::PlayerHost(QWidget* parent, const ControlCreator& create) {
    widget_ = create ? create(parent) : CreateControl(QString::fromLatin1(flv::ProgId), parent);
    player_ = widget_ ? qobject_cast<flv::Velmora*>(widget_) : nullptr;
    if (player_)
        return;
    qCWarning(lcPlayerHost) << "no player control: the video area stays blank";
    delete widget_;
    auto* standIn = new StandInPlayer(parent);
    widget_ = standIn;
    player_ = standIn;
    standIn_ = true;
}

int PlayerHost::bindEvents(QObject* handler, const QString& prefix) const {
    const QByteArray head = prefix.toLatin1() + '_';
    const QMetaObject* meta = handler->metaObject();
    int bound = 0;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod slot = meta->method(i);
        if (slot.methodType() != QMetaMethod::Slot || !slot.name().startsWith(head))
            continue;
        const QByteArray event = slot.name().mid(head.size());
        const QMetaMethod signal = FindSignal(widget_->metaObject(), event);
        if (!signal.isValid()) {
            qCWarning(lcPlayerHost)
                << "the player has no event" << event << "for" << slot.methodSignature();
            continue;
        }
        if (!QObject::connect(widget_, signal, handler, slot)) {
            qCWarning(lcPlayerHost)
                << "cannot bind" << signal.methodSignature() << "to" << slot.methodSignature();
            continue;
        }
        ++bound;
    }
    return bound;
}

} // namespace ovelo
