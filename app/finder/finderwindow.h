// Form10, the finder window: asks the parsing service for the video behind the page address of
// the analysis dialog, and offers the address it finds to play or to copy. The whole analysis
// runs while the window is made, so it is first shown already found or not found.
#pragma once

#include "windows/form.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace ovelo {

class MainAccess;
class WindowCoordinator;

class FinderWindow : public Form {
    Q_OBJECT
  public:
    FinderWindow(MainAccess& main, WindowCoordinator& windows);

    // The query sent to the service, and the page it answered, decoded.
    QString queryAddress() const { return text4_; }
    QString pageText() const { return text1_; }

  private:
    void build();
    void load();
    void analyse();
    void showFound(const QString& address);
    void play();
    void copy();

    MainAccess& main_;
    WindowCoordinator& windows_;
    QPlainTextEdit* textshow_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QProgressBar* progressBar1_ = nullptr;
    // Kept as text, not in hidden text boxes: a page can be megabytes long.
    QString text1_;
    QString text4_;
};

} // namespace ovelo
