// Sole owner of one mpv_handle; everything else borrows it.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <mpv/client.h>
#include <utility>
#include <vector>

namespace flv {

class SoftwareRenderer;

// Options set after the engine's own, before it starts (tests give outputs of their own).
using EngineOptions = std::vector<std::pair<QByteArray, QByteArray>>;

// Every request is queued to mpv's core and returns at once: the core waits for files, decoders
// and devices, and a caller on the user-interface thread must never wait with it. What a request
// came to arrives later as an event carrying the request's `reply` tag.
class MpvHandle : public QObject {
    Q_OBJECT
  public:
    // videoOutput: "libmpv" for a render surface, "x11" for a window of its own, "null" for none.
    explicit MpvHandle(const char* videoOutput, const EngineOptions& extraOptions = {},
                       QObject* parent = nullptr);
    // Hands the handle (and the renderer made from it) to a thread that ends them: never waits.
    ~MpvHandle() override;
    MpvHandle(const MpvHandle&) = delete;
    MpvHandle& operator=(const MpvHandle&) = delete;

    mpv_handle* get() const { return handle_; }
    bool ok() const { return handle_ != nullptr; }
    int command(std::initializer_list<const char*> args, uint64_t reply = 0);
    int setFlag(const char* name, bool on);
    int setDouble(const char* name, double value);
    int setInt64(const char* name, int64_t value);
    int setString(const char* name, const QString& value);
    // The renderer whose render context was made from this handle: it must end first, and ends
    // with the handle.
    void adoptRenderer(std::unique_ptr<SoftwareRenderer> renderer);
    // Runs once the engine has ended, off this thread: for what mpv may use until then.
    void afterEnd(std::function<void()> task);
    // A request has waited this long for its answer: the core is taken for stuck.
    bool seemsStuck(std::chrono::milliseconds after) const;
    // The handle is left to the process's exit, never destroyed: a render context that could not
    // be freed still points into it.
    void abandon() { abandoned_ = true; }

  signals:
    void eventArrived(const mpv_event* event);

  private:
    int setProperty(const char* name, mpv_format format, void* value);
    int sent(int error);
    void drain();
    static void wakeup(void* self);
    mpv_handle* handle_ = nullptr;
    std::unique_ptr<SoftwareRenderer> renderer_;
    std::vector<std::function<void()>> afterEnd_;
    bool abandoned_ = false;
    // Every request is answered by one reply event.
    int unanswered_ = 0;
    QElapsedTimer sinceAnswer_;
};

} // namespace flv
