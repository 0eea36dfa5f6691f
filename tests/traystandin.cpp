#include "traystandin.h"

#include <QGuiApplication>
#include <xcb/xcb.h>

namespace {

constexpr quint32 kRequestDock = 0;
constexpr int kIconSide = 24;

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(const char* name) {
    xcb_connection_t* c = Connection();
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, qstrlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

xcb_window_t Root() {
    return xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
}

} // namespace

TrayStandIn::TrayStandIn() {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setGeometry(1200, 0, kIconSide * 2, kIconSide);
}

TrayStandIn::~TrayStandIn() {
    qGuiApp->removeNativeEventFilter(this);
}

bool TrayStandIn::open() {
    if (!Connection())
        return false;
    show();
    xcb_connection_t* c = Connection();
    const xcb_atom_t selection = Atom("_NET_SYSTEM_TRAY_S0");
    const xcb_window_t owner = xcb_window_t(winId());
    xcb_set_selection_owner(c, owner, selection, XCB_CURRENT_TIME);
    qGuiApp->installNativeEventFilter(this);
    // Clients that started waiting for a tray learn of it from this message.
    xcb_client_message_event_t manager{};
    manager.response_type = XCB_CLIENT_MESSAGE;
    manager.format = 32;
    manager.window = Root();
    manager.type = Atom("MANAGER");
    manager.data.data32[0] = XCB_CURRENT_TIME;
    manager.data.data32[1] = selection;
    manager.data.data32[2] = owner;
    xcb_send_event(c, 0, Root(), XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&manager));
    xcb_flush(c);
    auto* reply = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool ours = reply && reply->owner == owner;
    free(reply);
    return ours;
}

bool TrayStandIn::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_CLIENT_MESSAGE)
        return false;
    auto* client = reinterpret_cast<xcb_client_message_event_t*>(event);
    if (client->type == Atom("_NET_SYSTEM_TRAY_OPCODE") && client->data.data32[1] == kRequestDock) {
        dock(client->data.data32[2]);
        return true;
    }
    return false;
}

void TrayStandIn::dock(quint32 icon) {
    xcb_connection_t* c = Connection();
    xcb_reparent_window(c, icon, xcb_window_t(winId()), kIconSide * icons_.size(), 0);
    const quint32 size[] = {kIconSide, kIconSide};
    xcb_configure_window(c, icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    xcb_map_window(c, icon);
    xcb_flush(c);
    icons_ << WId(icon);
}
