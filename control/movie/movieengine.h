// The contract of the player movie: named calls in, (command, argument) reports out.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace flv {

class MovieEngine : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    // One call by its name. Arguments arrive as texts: integers in decimal, floats in their
    // shortest single-precision form (0.1), Booleans as "true" or "false", texts unchanged.
    // Returns the engine's answer; "" when the call is unknown.
    virtual QString Call(const QString& name, const QStringList& args) = 0;
    // Six hexadecimal digits, red-green-blue.
    virtual void SetBGColor(const QString& rrggbb) = 0;
    // The picture; owned by the widget tree it is placed in.
    virtual QWidget* Surface() = 0;
    // The picture is a window of its own, above every widget beside it: whatever the control
    // shows over the video must be a window too.
    virtual bool SurfaceIsWindow() const { return false; }

  signals:
    void FSCommand(const QString& command, const QString& args);
};

} // namespace flv
