// Form11, "升级": compares the installed version with the update server's and, when they
// differ, downloads the installer, starts it and ends the program. The check runs when the
// window loads and at each press of 检测; each step is a ">>" line in List1. While the version
// file is read, both buttons are disabled and the window shows the busy pointer; closing the
// window ends the read.
#pragma once

#include "windows/form.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace ovelo {

class DownloadControl;
class MainAccess;
class WebFetch;
struct FetchResult;

class UpdaterWindow : public Form {
    Q_OBJECT
  public:
    explicit UpdaterWindow(MainAccess& main);

  protected:
    void unloading() override;

  private:
    void check();
    void versionRead(const FetchResult& answer);
    // The steps after the version file has been read.
    void compare(const QString& current, const QString& latest);
    void setWaiting(bool waiting);
    void addLine(const QString& line);
    void fillProgressBar();
    void emptyProgressBar();
    void setButtonsEnabled(bool enabled);

    void onDownloadStarted();
    void onDownloadProgress(int ignored, qint32 received, qint32 total);
    void onDownloadFinished(int ignored);
    void onDownloadFailed();

    MainAccess& main_;
    QListWidget* steps_;
    QPushButton* checkButton_;
    QPushButton* cancelButton_;
    QProgressBar* progressBar_;
    QLabel* progressText_;
    QLabel* fileText_;
    DownloadControl* download_;
    // The read of the version file, a child of this window; null when none is running.
    WebFetch* versionRead_ = nullptr;
    QString current_;
};

} // namespace ovelo
