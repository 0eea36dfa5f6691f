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
    // While the finder waits for the service, the dialog takes no input and shows the busy
    // pointer; the other windows stay as they are.
    void setWaiting(bool waiting);
    bool waiting() const { return waiting_; }

  protected:
    void unloading() override;

  private:
    void start();

    WindowCoordinator& windows_;
    QLineEdit* text1_;
    bool waiting_ = false;
};

} // namespace ovelo
