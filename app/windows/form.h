// A secondary window: top level without an owner, not modal, destroyed when closed. Each is
// the single instance the coordinator hands out, and is made anew after it is closed.
#pragma once

#include <QWidget>

namespace ovelo {

class Form : public QWidget {
    Q_OBJECT
  public:
    // `name` is the window's objectName; the inner area is `width` x `height` twips.
    Form(const char* name, const QString& caption, int width, int height);

  signals:
    // The window is closed for good; it is destroyed right after.
    void unloaded();

  protected:
    // Fixed single border: no resizing, no minimize or maximize button.
    void makeFixedSingle();
    // The window's own closing step, run on every close, whoever asks for it.
    virtual void unloading() {}
    void closeEvent(QCloseEvent* event) override;
};

} // namespace ovelo
