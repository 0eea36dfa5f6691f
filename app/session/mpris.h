// The player as the desktop's media controls see it: the MPRIS 2 interfaces on the session bus,
// under org.mpris.MediaPlayer2.ovelo (a second instance adds its process id). Commands go to
// the main window's own; what the desktop shows follows the main player.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace ovelo {

class MediaCommands;

class MprisService : public QObject {
    Q_OBJECT
  public:
    explicit MprisService(MediaCommands& commands,
                          const QDBusConnection& bus = QDBusConnection::sessionBus(),
                          QObject* parent = nullptr);
    ~MprisService() override;

    // The name taken on the bus; empty when there is no bus or no name could be had.
    QString serviceName() const { return serviceName_; }

    // Tells the desktop what changed since the last call, only where a user would see it; a
    // jump of the position is announced as a seek.
    void refresh();

    // The figures the interfaces give, in MPRIS's units (microseconds, volume 0 to 1).
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qint64 position() const;
    double volume() const;
    void setVolume(double volume);
    bool hasMovie() const;

    void playPause();
    void play();
    void pause();
    void stop();
    void seek(qint64 offset);
    void setPosition(const QDBusObjectPath& track, qint64 position);
    void openUri(const QString& uri);
    void raise();
    void quit();

  signals:
    void seeked(qint64 position);

  private:
    QVariantMap visibleProperties() const;
    // What the visible properties are made from: while it stays the same, so do they.
    struct Sources {
        QString movie, state;
        qint32 totalTime = 0;
        int volume = 0, track = 0;
        bool operator==(const Sources&) const = default;
    };
    Sources sources() const;
    void announce(const QVariantMap& changed);
    void followTrack();
    void watchPosition();
    void seekToMicroseconds(qint64 position);

    MediaCommands& commands_;
    QDBusConnection bus_;
    QString serviceName_;
    QVariantMap announced_;
    Sources announcedSources_;
    // A new track id for every file played, so the desktop can tell files apart.
    QString trackMovie_;
    int trackNumber_ = 0;
    qint64 lastPosition_ = 0;
    QElapsedTimer sinceLastPosition_;
};

// org.mpris.MediaPlayer2: the application as a whole.
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)
  public:
    explicit MprisRootAdaptor(MprisService* service);
    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const;
    QString desktopEntry() const;
    QStringList uriSchemes() const;
    QStringList mimeTypes() const;

  public slots:
    void Raise();
    void Quit();

  private:
    MprisService* service_;
};

// org.mpris.MediaPlayer2.Player: playback.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one WRITE setRate)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ no)
    Q_PROPERTY(bool CanGoPrevious READ no)
    Q_PROPERTY(bool CanPlay READ hasMovie)
    Q_PROPERTY(bool CanPause READ hasMovie)
    Q_PROPERTY(bool CanSeek READ hasMovie)
    Q_PROPERTY(bool CanControl READ yes)
  public:
    explicit MprisPlayerAdaptor(MprisService* service);
    QString playbackStatus() const;
    double one() const { return 1.0; }
    // The player plays at its own speed only.
    void setRate(double) {}
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool hasMovie() const;
    bool yes() const { return true; }
    bool no() const { return false; }

  public slots:
    void Next() {}
    void Previous() {}
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
    void OpenUri(const QString& Uri);

  signals:
    void Seeked(qlonglong Position);

  private:
    MprisService* service_;
};

} // namespace ovelo
