// The player movie over libmpv: plays one file or address at a time and reports as the movie did.
#pragma once

#include "movieengine.h"
#include "mpvhandle.h"
#include "videosurface.h"

#include <QPointer>
#include <QTimer>
#include <optional>

namespace flv {

class PlayerMovie : public MovieEngine {
    Q_OBJECT
  public:
    // extraOptions: set on the engine after its own (tests give it outputs of their own).
    explicit PlayerMovie(SurfaceKind kind, QObject* parent = nullptr,
                         const EngineOptions& extraOptions = {});
    ~PlayerMovie() override;

    QString Call(const QString& name, const QStringList& args) override;
    void SetBGColor(const QString& rrggbb) override;
    QWidget* Surface() override;
    bool SurfaceIsWindow() const override { return kind_ == SurfaceKind::X11Window; }

  private:
    enum class PlayState { Idle, Playing, Paused };
    // What one poll answers.
    struct Figures {
        double bytesTotal = 0, bytesLoaded = 0;
        std::optional<double> duration; // not a number until the file is open
        double time = 0, bufferLength = 0;
    };

    void setDims(const QString& width, const QString& height);
    void playMovie(const QString& file);
    void pauseMovie();
    void stopMovie();
    void setVolume(const QString& level);
    void seek(const QString& seconds);
    void getinfo();
    Figures liveFigures();
    void setBufferTime(const QString& seconds);
    void onEvent(const mpv_event* e);
    void onCommandReply(const mpv_event* e);
    void fileLoaded();
    void onPropertyChange(const mpv_event_property* p);
    void onCacheState(const mpv_event_property* p);
    void endOfEntry(const mpv_event_end_file* end);
    void forgetEntry();
    void rejectName();
    bool load(const QByteArray& target);
    void loadHeld();
    void watchTick();
    void endStalledFile(QLatin1StringView ending);
    void report(const QString& command, const QString& args) { emit FSCommand(command, args); }
    void reportState(QLatin1StringView state) { emit FSCommand(QStringLiteral("State"), state); }
    void showPicture(bool visible);
    double estimateLoadedBytes(double total) const;

    SurfaceKind kind_;
    MpvHandle* mpv_;
    QPointer<QWidget> surface_;
    PictureControl* picture_ = nullptr;
    PlayState playstate_ = PlayState::Idle;
    QString file_;
    bool remote_ = false;
    // Bumped by every playMovie and StopMovie: a queued answer for an older call is dropped.
    quint64 generation_ = 0;
    bool entryAsked_ = false;    // a file is asked for and has not ended
    QByteArray heldLoad_;        // asked for before the picture could show it
    int64_t currentEntry_ = -1;  // its playlist_entry_id, once mpv has answered the load
    int64_t startedEntry_ = -1;  // the entry mpv last started
    bool awaitingStart_ = false; // FILE_LOADED seen, waiting for its first PLAYBACK_RESTART
    bool loaded_ = false;
    double pendingSeek_ = -1; // a seek asked for before the file was open
    // That seek, sent once the file opened, until playback restarts at its target.
    struct StartSeek {
        double target = 0;
        bool answered = false;
    };
    std::optional<StartSeek> startSeek_;
    bool pausedForCache_ = false;
    double loadedBytes_ = 0;
    // A file played to its end goes on answering the poll with its last figures, as a stream
    // stopped at its end does, until the next playMovie or StopMovie.
    std::optional<Figures> finished_;
    // The poll answers from mpv's latest reports. Asking mpv instead waits for its core, which
    // after a start or seek waits for the first picture, and that is drawn on this same thread.
    // Position, duration and size keep mpv's last number for the current file: mpv takes them
    // back just before it tells of the file's end.
    struct {
        std::optional<double> duration, timePos, cacheDuration;
        std::optional<int64_t> fileSize, streamPos;
        double cacheEnd = 0;
        bool eofCached = false;
    } reported_;
    int dims_[2] = {240, 200};
    // The texts of the last poll's figures. The poll repeats itself while nothing moves
    // (paused, stopped, at the end), and a figure that has not changed keeps its text.
    struct FigureText {
        double value = 0;
        QString text;
        const QString& of(double v);
    };
    FigureText pollTexts_[5];
    // Runs while an entry is current. Over HTTP it tells the host that nothing has arrived
    // yet; on a local file it ends playback that no longer moves because the demuxer found
    // nothing more to play (zeros after a valid head, read to the end of a huge file).
    QTimer watch_;
    int quietTicks_ = 0;
    double watchedPos_ = -1;
};

} // namespace flv
