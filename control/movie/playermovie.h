// The player movie over libmpv: plays one file or address at a time and reports as the movie did.
#pragma once

#include "movieengine.h"
#include "videosurface.h"

#include <QPointer>
#include <optional>

namespace flv {

class MpvHandle;

class PlayerMovie : public MovieEngine {
    Q_OBJECT
  public:
    explicit PlayerMovie(SurfaceKind kind, QObject* parent = nullptr);
    ~PlayerMovie() override;

    QString Call(const QString& name, const QStringList& args) override;
    void SetBGColor(const QString& rrggbb) override;
    QWidget* Surface() override;

  private:
    enum class PlayState { Idle, Playing, Paused };

    void setDims(const QString& width, const QString& height);
    void playMovie(const QString& file);
    void pauseMovie();
    void stopMovie();
    void setVolume(const QString& level);
    void seek(const QString& seconds);
    void getinfo();
    void setBufferTime(const QString& seconds);
    void onEvent(const mpv_event* e);
    void onPropertyChange(const mpv_event_property* p);
    void endOfEntry(const mpv_event_end_file* end);
    void report(const char* command, const QString& args) { emit FSCommand(command, args); }
    void reportState(QLatin1StringView state) { emit FSCommand(QStringLiteral("State"), state); }
    void showPicture(bool visible);
    double estimateLoadedBytes(double total) const;

    MpvHandle* mpv_;
    QPointer<QWidget> surface_;
    PictureControl* picture_ = nullptr;
    PlayState playstate_ = PlayState::Idle;
    QString file_;
    int64_t currentEntry_ = -1;  // playlist_entry_id of the file asked for last
    bool awaitingStart_ = false; // FILE_LOADED seen, waiting for its first PLAYBACK_RESTART
    bool loaded_ = false;
    double pendingSeek_ = -1; // a seek asked for before the file was open
    bool pausedForCache_ = false;
    double loadedBytes_ = 0;
    // The poll answers from mpv's latest reports. Asking mpv instead waits for its core, which
    // after a start or seek waits for the first picture, and that is drawn on this same thread.
    struct {
        std::optional<double> duration, timePos, cacheDuration;
        std::optional<int64_t> fileSize;
        double cacheEnd = 0;
        bool eofCached = false;
    } reported_;
    int dims_[2] = {240, 200};
};

} // namespace flv
