// The installer's download: started by address and folder, it reports its start, its progress
// and its end as signals on the thread that made it. The file appears under its final name only
// when it has arrived whole, so a file that is there is never half an installer.
#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSaveFile>
#include <QUrl>
#include <chrono>
#include <memory>

class QNetworkReply;

namespace ovelo {

// Whether a download may come from `address` when `source` was asked for: the same host, over
// https. Plain http passes only on this machine, where nobody on the way could swap the file.
bool IsTrustedInstallerAddress(const QUrl& address, const QUrl& source);

class DownloadControl : public QObject {
    Q_OBJECT
  public:
    // A transfer that sends nothing for this long has failed.
    static constexpr std::chrono::seconds kStallTimeout{30};
    // Far above any installer, and within the 32-bit counts the progress reports.
    static constexpr qint64 kMaxBytes = qint64(1) << 30;

    explicit DownloadControl(QObject* parent = nullptr);
    // A running download is aborted and what it wrote removed.
    ~DownloadControl() override;

    QString SourceUrl() const { return sourceUrl_; }
    void SetSourceUrl(const QString& url) { sourceUrl_ = url; }
    QString SaveFolder() const { return saveFolder_; }
    void SetSaveFolder(const QString& folder) { saveFolder_ = folder; }
    // The file a finished download is: the save folder and the source's file name.
    QString SavedPath() const;

    // Starts the transfer and returns; everything else comes as signals. Does nothing while a
    // download runs.
    void StartDownload();
    // Ends a running download and removes what it wrote; no signal follows.
    void Abort();
    bool running() const { return !reply_.isNull(); }

  signals:
    // The server has answered with the file: its bytes follow.
    void DownloadStarted();
    // `total` is 0 when the server does not say how long the file is.
    void DownloadProgress(int ignored, qint32 received, qint32 total);
    // The whole file is saved at SavedPath().
    void DownloadFinished(int ignored);
    // Nothing was saved: the address was refused, the server unreachable or unwilling, the
    // transfer cut short, or the file could not be written.
    void DownloadFailed();

  private:
    void onRedirected(const QUrl& target);
    void onHeaders();
    void onData();
    void onFinished();
    bool openFile();
    void fail(const char* why);
    void stop();

    QString sourceUrl_;
    QString saveFolder_;
    QNetworkAccessManager network_;
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<QSaveFile> file_;
    qint64 received_ = 0;
    qint64 total_ = 0;
};

} // namespace ovelo
