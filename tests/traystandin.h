// A notification area for an X server that has none: it takes the system-tray selection and
// docks the icons that ask for it, so a test can click them as a user clicks a tray icon.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QWidget>

class TrayStandIn : public QWidget, public QAbstractNativeEventFilter {
  public:
    TrayStandIn();
    ~TrayStandIn() override;

    // Announces the notification area; false when another one has the selection.
    bool open();
    // The docked icons' windows, in the order they came.
    QList<WId> icons() const { return icons_; }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

  private:
    void dock(quint32 icon);

    QList<WId> icons_;
};
