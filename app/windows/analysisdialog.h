// Form9, "网络视频分析": takes the address of a web page whose video the finder looks for.
#pragma once

#include "windows/form.h"

class QLineEdit;

namespace ovelo {

class AnalysisDialog : public Form {
    Q_OBJECT
  public:
    AnalysisDialog();

    QString address() const;
    // While the finder waits for the service, the dialog takes no input and shows the busy
    // pointer; the other windows stay as they are.
    void setWaiting(bool waiting);
    bool waiting() const { return waiting_; }

  signals:
    // 开始分析 with the address as typed. Whoever starts the finder hides the dialog, or sets
    // it waiting for the answer.
    void analysisRequested(const QString& address);
    // Closed while the finder waited for the answer: the question goes with the dialog.
    void closedWhileWaiting();

  protected:
    void unloading() override;

  private:
    QLineEdit* address_;
    bool waiting_ = false;
};

} // namespace ovelo
