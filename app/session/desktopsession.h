// The program as a citizen of the desktop: the screen stays on while a video plays, and the
// desktop's media controls drive the main window. Both follow the players a few times a second
// and fail quietly where the desktop lacks the service.
#pragma once

#include "session/mpris.h"
#include "session/screensaverinhibitor.h"

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

namespace ovelo {

class MediaCommands;

class DesktopSession : public QObject {
    Q_OBJECT
  public:
    explicit DesktopSession(MediaCommands& commands,
                            const QDBusConnection& bus = QDBusConnection::sessionBus(),
                            QObject* parent = nullptr);

    // Lets the screen rest at once: the program is closing.
    void end();

    const MprisService& mpris() const { return mpris_; }

  private:
    void follow();

    MediaCommands& commands_;
    ScreenSaverInhibitor screenSaver_;
    MprisService mpris_;
    QTimer follow_;
};

} // namespace ovelo
