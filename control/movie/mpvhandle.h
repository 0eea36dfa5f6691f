// Sole owner of one mpv_handle; everything else borrows it.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <mpv/client.h>

namespace flv {

class MpvHandle : public QObject {
    Q_OBJECT
  public:
    // videoOutput: "libmpv" for a render surface, "null" for none.
    explicit MpvHandle(const char* videoOutput, QObject* parent = nullptr);
    ~MpvHandle() override;
    MpvHandle(const MpvHandle&) = delete;
    MpvHandle& operator=(const MpvHandle&) = delete;

    mpv_handle* get() const { return handle_; }
    bool ok() const { return handle_ != nullptr; }
    int command(std::initializer_list<const char*> args);
    int setFlag(const char* name, bool on);
    int setDouble(const char* name, double value);
    int setString(const char* name, const QString& value);
    bool getDouble(const char* name, double* out) const;
    bool getInt64(const char* name, int64_t* out) const;
    bool getFlag(const char* name, bool* out) const;

  signals:
    void event(const mpv_event* event);

  private:
    void drain();
    static void wakeup(void* self);
    mpv_handle* handle_ = nullptr;
};

} // namespace flv
