// Form12, the banner that tells how to leave full screen. It lies above the full-screen window
// for five seconds, or until its close picture is clicked, then closes itself.
#pragma once

#include "windows/form.h"

#include <QTimer>
#include <chrono>

class QScreen;

namespace ovelo {

class HintWindow : public Form {
    Q_OBJECT
  public:
    // Shows itself at the top-left corner of `screen` (the primary screen when null).
    explicit HintWindow(QScreen* screen = nullptr);

    static constexpr std::chrono::milliseconds kShow{5000};
    // For tests, which wait for the close: how long the banners made from now on show. Returns
    // the time it replaces.
    static std::chrono::milliseconds SetShowForTesting(std::chrono::milliseconds shown);
    // The banner's opacity, out of 255.
    static constexpr int kAlpha = 200;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTimer closeTimer_;
};

} // namespace ovelo
