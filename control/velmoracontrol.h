// The Velmora control: a video area that plays one file or address through the player movie.
#pragma once

#include "flv/velmora.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>

namespace flv {

class MovieEngine;
class ControlFullScreenWindow;
class InputRelay;
class Logo;
// Returns a new engine that the caller owns.
using EngineFactory = std::function<MovieEngine*(QObject* parent)>;

// How often the movie is asked for its progress, and how soon the end of full screen is noticed.
inline constexpr std::chrono::milliseconds kProgressPollInterval{50};
inline constexpr std::chrono::milliseconds kFullScreenWatchInterval{50};

class VelmoraControl : public QWidget, public Velmora {
    Q_OBJECT
    Q_INTERFACES(flv::Velmora)
    Q_PROPERTY(qint32 TotalTime READ TotalTime)
    Q_PROPERTY(QString State READ State)
    Q_PROPERTY(float CurrentTime READ CurrentTime)
    Q_PROPERTY(qint32 TotalBytes READ TotalBytes)
    Q_PROPERTY(qint32 LoadedBytes READ LoadedBytes)
    Q_PROPERTY(QString Movie READ Movie)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(qint32 Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(float BufferTime READ BufferTime WRITE SetBufferTime)
    Q_PROPERTY(bool Mute READ Mute WRITE SetMute)
    Q_PROPERTY(bool FullScreen READ FullScreen WRITE SetFullScreen)

  public:
    // engineFactory: how the player movie is made; tests give their own.
    explicit VelmoraControl(QWidget* parent = nullptr, EngineFactory engineFactory = {});
    ~VelmoraControl() override;

    Q_INVOKABLE void PlayMovie(const QString& FilePath) override;
    Q_INVOKABLE void PauseMovie() override;
    Q_INVOKABLE void StopMovie() override;
    Q_INVOKABLE void GotoTime(qint32 Value) override;

    qint32 TotalTime() const override;
    QString State() const override { return state_; }
    float CurrentTime() const override { return currentTime_; }
    qint32 TotalBytes() const override { return totalBytes_; }
    qint32 LoadedBytes() const override { return loadedBytes_; }
    QString Movie() const override { return movie_; }
    quint32 BackColor() const override { return backColor_; }
    void SetBackColor(quint32 color) override;
    qint32 Volume() const override;
    void SetVolume(qint32 level) override;
    float BufferTime() const override { return bufferTime_; }
    void SetBufferTime(float seconds) override;
    bool Mute() const override { return mute_; }
    void SetMute(bool muted) override;
    bool FullScreen() const override { return fullScreen_; }
    void SetFullScreen(bool on) override;

    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) const override;
    void SetAmbientUserMode(bool userMode) override { userMode_ = userMode; }

    // The bridge, open to the library's own parts and tests.
    QString CallMovieFunction(const QString& name, const QVariantList& arguments);
    // The call as a request text in the player component's external-call form; kept for the
    // log, the engine takes the name and the argument texts as they are.
    static QString BuildRequest(const QString& name, const QVariantList& arguments);
    static QString ColorText(quint32 oleColor);
    void OnFSCommand(const QString& command, const QString& args);

    // The input and full-screen parts, open to tests.
    bool PointerOutsideLogo() const;
    Logo* logo() const { return logo_; }
    QWidget* inputArea() const { return inputArea_; }
    ControlFullScreenWindow* fullScreenWindow() const;
    float NormalWidth() const { return normalWidth_; }
    qint32 NormalHeight() const { return normalHeight_; }

  signals:
    FLV_VELMORA_EVENT_SIGNALS
    // The container's property-changed notification.
    void propertyChanged(const QString& name);

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void LoadPlayerMovie();
    void SendVolume(qint32 level);
    void ApplyBackColor();
    void ApplyMute();
    void layoutChildren();
    void placeLogo();
    void SwitchFullScreen();
    void EnterFullScreen();
    void LeaveFullScreen();
    void watchFullScreen();
    void connectRelay();
    void inputAreaKeyDown(short keyCode);

    EngineFactory engineFactory_;
    QWidget* inputArea_;
    QWidget* videoArea_;
    Logo* logo_;
    InputRelay* relay_;
    QPointer<QWidget> surfaceWindow_;
    // Children of the control, so that its named parts can be found as the host finds them.
    QTimer progressPoll_{this};
    QTimer fullScreenWatch_{this};
    bool userMode_ = true;

    float totalTime_ = 0;
    float currentTime_ = 0;
    float bufferLength_ = 0;
    float bufferTime_ = 0.1f;
    qint32 loadedBytes_ = 0;
    qint32 totalBytes_ = 0;
    QString movie_;
    QString state_;
    quint32 backColor_ = 0;
    double volume_ = 0;
    bool mute_ = false;
    bool fullScreen_ = false;
    float normalWidth_ = 0;
    qint32 normalHeight_ = 0;
    qint32 lastLoadedBytes_ = 0;
    float lastCurrentTime_ = 0;
    struct ReadFigure {
        QString text;
        double value = 0;
    };
    ReadFigure readFigures_[6];

    // Declared last, so destroyed first and in this order: the engine, whose picture may be
    // inside the full-screen window, before that window; and within the engine the render
    // context (held by its picture) before the mpv handle it was made from, both ended off this
    // thread (movie/engineend.h).
    std::unique_ptr<ControlFullScreenWindow> fullScreenWindow_;
    std::unique_ptr<MovieEngine> engine_;
};

} // namespace flv
