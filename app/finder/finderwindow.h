// Form10, the finder window: asks the parsing service for the video behind the page address of
// the analysis dialog, and offers the address it finds to play or to copy. It is made hidden
// when 开始分析 is pressed and asks at once; while the service answers, the analysis dialog
// takes no input and shows the busy pointer, and the rest of the program goes on. The window
// shows itself with the answer, found or not found, and then the dialog hides.
#pragma once

#include "windows/form.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace ovelo {

class AnalysisDialog;
class MainAccess;
class WebFetch;
class WindowCoordinator;
struct FetchResult;

class FinderWindow : public Form {
    Q_OBJECT
  public:
    FinderWindow(MainAccess& main, WindowCoordinator& windows);

    // The query sent to the service, and the page it answered, decoded.
    QString queryAddress() const { return text4_; }
    QString pageText() const { return text1_; }
    // Still waiting for the service: the window has not shown itself yet.
    bool asking() const { return fetch_ != nullptr; }

  protected:
    void unloading() override;

  private:
    void build();
    void ask();
    void answered(const FetchResult& answer);
    // The last video address of the page; "" when it has none.
    QString analyse();
    void showFound(const QString& address);
    AnalysisDialog* dialog() const;
    void play();
    void copy();

    MainAccess& main_;
    WindowCoordinator& windows_;
    QPlainTextEdit* textshow_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QProgressBar* progressBar1_ = nullptr;
    // The read of the service's answer, a child of this window; null once it has answered.
    WebFetch* fetch_ = nullptr;
    // Kept as text, not in hidden text boxes: a page can be megabytes long.
    QString text1_;
    QString text4_;
};

} // namespace ovelo
