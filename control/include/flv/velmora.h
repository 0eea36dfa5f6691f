// The Velmora control's interface, version 1: shared by the Flv library and its hosts.
#pragma once

#include <QMap>
#include <QMetaMethod>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <QtPlugin>

namespace flv {

inline constexpr int InterfaceVersion = 1;
inline constexpr char ProgId[] = "Flv.Velmora";

// The playback states: the movie's "State" reports, held by the State property and compared
// exactly by hosts.
namespace state {
inline constexpr QLatin1StringView Play{"Play"};
inline constexpr QLatin1StringView Pause{"Pause"};
inline constexpr QLatin1StringView Stop{"Stop"};
// The buffer ran empty.
inline constexpr QLatin1StringView Empty{"Empty"};
// The file could not be opened.
inline constexpr QLatin1StringView FlvNotFound{"FlvNotFound"};
} // namespace state

// Members of the control's dispatch interface. Events carry ids 1 to 12 in table order.
enum class MemberKind { Method, Get, GetPut };
struct DispatchMember {
    quint32 id;
    const char* name;
    MemberKind kind;
};
inline constexpr DispatchMember DispatchTable[] = {
    {0x60030021, "PlayMovie", MemberKind::Method},  {0x60030022, "PauseMovie", MemberKind::Method},
    {0x60030023, "StopMovie", MemberKind::Method},  {0x60030025, "GotoTime", MemberKind::Method},
    {0x6803000A, "TotalTime", MemberKind::Get},     {0x68030009, "State", MemberKind::Get},
    {0x68030008, "CurrentTime", MemberKind::Get},   {0x68030007, "TotalBytes", MemberKind::Get},
    {0x68030006, "LoadedBytes", MemberKind::Get},   {0x68030005, "Movie", MemberKind::Get},
    {0x68030004, "BackColor", MemberKind::GetPut},  {0x68030003, "Volume", MemberKind::GetPut},
    {0x68030002, "BufferTime", MemberKind::GetPut}, {0x68030001, "Mute", MemberKind::GetPut},
    {0x68030000, "FullScreen", MemberKind::GetPut},
};
// The events, each EVENT(name, parameters, origin), in id order: hosts bind to them by name and
// signature. Input marks those the mouse and keys over the video raise.
#define FLV_VELMORA_EVENTS(EVENT)                                                                  \
    EVENT(Click, (), Input)                                                                        \
    EVENT(DblClick, (), Input)                                                                     \
    EVENT(MouseDown, (short Button, short Shift, float X, float Y), Input)                         \
    EVENT(MouseMove, (short Button, short Shift, float X, float Y), Input)                         \
    EVENT(MouseUp, (short Button, short Shift, float X, float Y), Input)                           \
    EVENT(PlayProgress, (float TotalTime, float CurrentTime, float BufferLength), Control)         \
    EVENT(ButterProgress, (qint32 TotalBytes, qint32 LoadedBytes), Control)                        \
    EVENT(ReSize, (), Control)                                                                     \
    EVENT(OnReadyStateChange, (const QString& newState), Control)                                  \
    EVENT(KeyDown, (short KeyCode, short Shift), Input)                                            \
    EVENT(KeyUp, (short KeyCode, short Shift), Input)                                              \
    EVENT(KeyPress, (short KeyAscii), Input)

// Declares every event as a signal, under `signals:` of a class that offers them; moc expands it
// when this header is on its include path.
#define FLV_VELMORA_EVENT_SIGNALS FLV_VELMORA_EVENTS(FLV_VELMORA_EVENT_SIGNAL)
#define FLV_VELMORA_EVENT_SIGNAL(name, parameters, origin) void name parameters;

#define FLV_VELMORA_EVENT_NAME(name, parameters, origin) #name,
inline constexpr const char* EventNames[] = {FLV_VELMORA_EVENTS(FLV_VELMORA_EVENT_NAME)};
#undef FLV_VELMORA_EVENT_NAME

// The host's store of saved properties.
class PropertyBag {
  public:
    virtual ~PropertyBag() = default;
    virtual QVariant Read(const QString& key, const QVariant& fallback) const = 0;
    virtual void Write(const QString& key, const QVariant& value) = 0;
};

class MemoryPropertyBag : public PropertyBag {
  public:
    QVariant Read(const QString& key, const QVariant& fallback) const override {
        return values.value(key, fallback);
    }
    void Write(const QString& key, const QVariant& value) override { values.insert(key, value); }
    QMap<QString, QVariant> values;
};

// What a host sees of a control besides its Qt properties, slots and signals (which carry
// the member names of the dispatch table).
class Velmora {
  public:
    virtual ~Velmora() = default;
    virtual void PlayMovie(const QString& filePath) = 0;
    virtual void PauseMovie() = 0;
    virtual void StopMovie() = 0;
    virtual void GotoTime(qint32 seconds) = 0;
    virtual qint32 TotalTime() const = 0;
    virtual QString State() const = 0;
    virtual float CurrentTime() const = 0;
    virtual qint32 TotalBytes() const = 0;
    virtual qint32 LoadedBytes() const = 0;
    virtual QString Movie() const = 0;
    virtual quint32 BackColor() const = 0;
    virtual void SetBackColor(quint32 color) = 0;
    virtual qint32 Volume() const = 0;
    virtual void SetVolume(qint32 level) = 0;
    virtual float BufferTime() const = 0;
    virtual void SetBufferTime(float seconds) = 0;
    virtual bool Mute() const = 0;
    virtual void SetMute(bool muted) = 0;
    virtual bool FullScreen() const = 0;
    virtual void SetFullScreen(bool on) = 0;

    virtual void ReadProperties(const PropertyBag& bag) = 0;
    virtual void WriteProperties(PropertyBag& bag) const = 0;
    // The container's ambient user mode; false means design mode.
    virtual void SetAmbientUserMode(bool userMode) = 0;
};

class VelmoraFactory {
  public:
    virtual ~VelmoraFactory() = default;
    // nullptr when this library does not offer progId.
    virtual QWidget* CreateControl(const QString& progId, QWidget* parent) = 0;
};

inline const DispatchMember* FindMember(quint32 id) {
    for (const auto& m : DispatchTable)
        if (m.id == id)
            return &m;
    return nullptr;
}

enum class DispatchOp { Call, Get, Put };

// Late-bound access by dispatch id, for hosts that know only the table. An invalid QVariant
// means the id or the operation does not exist.
inline QVariant Dispatch(QObject* control, quint32 id, DispatchOp op,
                         const QVariantList& args = {}) {
    const DispatchMember* m = FindMember(id);
    if (!control || !m)
        return {};
    if (m->kind == MemberKind::Method) {
        if (op != DispatchOp::Call)
            return {};
        const QMetaObject* mo = control->metaObject();
        for (int i = mo->methodOffset() - 1; i < mo->methodCount(); ++i) {
            if (i < 0)
                continue;
            QMetaMethod method = mo->method(i);
            if (method.name() != m->name || method.parameterCount() != args.size())
                continue;
            QVariantList converted = args;
            QGenericArgument a[2];
            for (int p = 0; p < converted.size() && p < 2; ++p) {
                converted[p].convert(QMetaType(method.parameterType(p)));
                a[p] = QGenericArgument(converted[p].typeName(), converted[p].constData());
            }
            return method.invoke(control, Qt::DirectConnection, a[0], a[1]) ? QVariant(true)
                                                                            : QVariant();
        }
        return {};
    }
    if (op == DispatchOp::Get)
        return control->property(m->name);
    if (op == DispatchOp::Put && m->kind == MemberKind::GetPut && args.size() == 1)
        return control->setProperty(m->name, args.first()) ? QVariant(true) : QVariant();
    return {};
}

} // namespace flv

#define FLV_VELMORA_IID "org.ovelo.Flv.Velmora/1"
#define FLV_FACTORY_IID "org.ovelo.Flv.VelmoraFactory/1"
Q_DECLARE_INTERFACE(flv::Velmora, FLV_VELMORA_IID)
Q_DECLARE_INTERFACE(flv::VelmoraFactory, FLV_FACTORY_IID)
