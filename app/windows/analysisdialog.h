// Form9, "网络视频分析": takes the address of a web page whose video the finder looks for.
#pragma once

#include "windows/form.h"

class QLineEdit;

namespace ovelo {

class WindowCoordinator;

class AnalysisDialog : public Form {
    Q_OBJECT
  public:
    explicit AnalysisDialog(WindowCoordinator& windows);

    // The page address, read by the finder when it starts.
    QString address() const;

  private:
    void start();

    WindowCoordinator& windows_;
    QLineEdit* text1_;
};

} // namespace ovelo
