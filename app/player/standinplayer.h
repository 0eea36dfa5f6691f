// Takes the player's place when no library offers it: a blank area whose commands do nothing,
// so the window that holds it still starts and works.
#pragma once

#include "flv/velmora.h"

#include <QWidget>

namespace ovelo {

class StandInPlayer : public QWidget, public flv::Velmora {
    Q_OBJECT
    Q_INTERFACES(flv::Velmora)
  public:
    explicit StandInPlayer(QWidget* parent = nullptr) : QWidget(parent) {}

    void PlayMovie(const QString&) override {}
    void PauseMovie() override {}
    void StopMovie() override {}
    void GotoTime(qint32) override {}
    qint32 TotalTime() const override { return 0; }
    QString State() const override { return {}; }
    float CurrentTime() const override { return 0; }
    qint32 TotalBytes() const override { return 0; }
    qint32 LoadedBytes() const override { return 0; }
    QString Movie() const override { return {}; }
    quint32 BackColor() const override { return 0; }
    void SetBackColor(quint32) override {}
    qint32 Volume() const override { return volume_; }
    void SetVolume(qint32 level) override { volume_ = qBound(0, level, 100); }
    float BufferTime() const override { return 0.1f; }
    void SetBufferTime(float) override {}
    bool Mute() const override { return false; }
    void SetMute(bool) override {}
    bool FullScreen() const override { return false; }
    void SetFullScreen(bool) override {}
    void ReadProperties(const flv::PropertyBag&) override {}
    void WriteProperties(flv::PropertyBag&) const override {}
    void SetAmbientUserMode(bool) override {}

  signals:
    // The player's events, never raised: handlers bind to them as to a real player's.
    FLV_VELMORA_EVENT_SIGNALS

  private:
    qint32 volume_ = 80;
};

} // namespace ovelo
