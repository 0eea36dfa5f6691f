// The contract of the player movie: named calls in, (command, argument) reports out.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

namespace flv {

class MovieEngine : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    // request: <invoke name="..." returntype="xml"><arguments>...</arguments></invoke>
    virtual QString CallFunction(const QString& request) = 0;
    // Six hexadecimal digits, red-green-blue.
    virtual void SetBGColor(const QString& rrggbb) = 0;
    // The picture; owned by the widget tree it is placed in.
    virtual QWidget* Surface() = 0;

  signals:
    void FSCommand(const QString& command, const QString& args);
};

} // namespace flv
