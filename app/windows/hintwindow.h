// Form12, the banner that tells how to leave full screen. It lies above the full-screen window
// for five seconds, or until its close picture is clicked, then closes itself.
#pragma once

#include "windows/form.h"

#include <QTimer>

class QScreen;

namespace ovelo {

class HintWindow : public Form {
    Q_OBJECT
  public:
    // Shows itself at the top-left corner of `screen` (the primary screen when null).
    explicit HintWindow(QScreen* screen = nullptr);

    static constexpr int kShowMs = 5000;
    // The banner's opacity, out of 255.
    static constexpr int kAlpha = 200;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTimer closeTimer_;
};

} // namespace ovelo
