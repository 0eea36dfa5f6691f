#include "updater/updaterwindow.h"

#include "icons/icons.h"
#include "layout/design.h"
#include "settings/config.h"
#include "updater/downloadcontrol.h"
#include "updater/installer.h"
#include "updater/updateserver.h"
#include "windows/mainaccess.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace ovelo {

namespace {

// The bar's range while the check steps through; the download sets its own.
constexpr int kStepMaximum = 100;

QString Kilobytes(qint32 bytes) {
    return QString::number(bytes / 1024);
}

} // namespace

UpdaterWindow::UpdaterWindow(MainAccess& main)
    : Form("Form11", tr("升级"), 6855, 5100), main_(main) {
    auto* banner = Named(new QLabel(this), "Picture1");
    steps_ = Named(new QListWidget(this), "List1");
    progressBar_ = Named(new QProgressBar(this), "Pb");
    progressBar_->setTextVisible(false);
    progressBar_->setRange(0, kStepMaximum);
    progressBar_->setValue(0);
    progressText_ = Named(new QLabel(tr("总体进度:"), this), "Label1");
    fileText_ = Named(new QLabel(tr("下载文件:"), this), "Label3");
    checkButton_ = Named(new QPushButton(tr("检测"), this), "Command1");
    cancelButton_ = Named(new QPushButton(tr("取消"), this), "Command2");
    PlaceAndRecord(this, {{"Picture1", 0, 0, 6855, 1215},
                          {"List1", 120, 1320, 6615, 2295},
                          {"Pb", 120, 3720, 6615, 255},
                          {"Label1", 120, 4080, 3255, 255},
                          {"Label3", 3480, 4080, 3255, 255},
                          {"Command1", 3480, 4560, 1455, 420},
                          {"Command2", 5160, 4560, 1455, 420}});
    banner->setPixmap(UpdaterBanner(banner->size()));
    makeFixedSingle();

    download_ = new DownloadControl(this);
    connect(download_, &DownloadControl::DownloadStarted, this, &UpdaterWindow::onDownloadStarted);
    connect(download_, &DownloadControl::DownloadProgress, this,
            &UpdaterWindow::onDownloadProgress);
    connect(download_, &DownloadControl::DownloadFinished, this,
            &UpdaterWindow::onDownloadFinished);
    connect(download_, &DownloadControl::DownloadFailed, this, &UpdaterWindow::onDownloadFailed);
    connect(checkButton_, &QPushButton::clicked, this, &UpdaterWindow::check);
    connect(cancelButton_, &QPushButton::clicked, this, &QWidget::close);
    // Once whoever made the window has shown it: the first lines appear in view.
    QTimer::singleShot(0, this, &UpdaterWindow::check);
}

void UpdaterWindow::check() {
    // A new check starts from nothing: an earlier read still running is dropped unheard.
    delete versionRead_;
    versionRead_ = nullptr;
    steps_->clear();
    addLine(tr(">>正在获取当前版本信息...(OK)"));
    fillProgressBar();
    current_ = ReadSetting(ini::Version);
    addLine(tr(">>当前版本: V%1").arg(current_));
    emptyProgressBar();
    addLine(tr(">>正在获取最新版本信息...(OK)"));
    fillProgressBar();
    setWaiting(true);
    versionRead_ = FetchLatestVersion(VersionFileUrl(), this);
    connect(versionRead_, &WebFetch::finished, this, &UpdaterWindow::versionRead);
}

void UpdaterWindow::versionRead(const FetchResult& answer) {
    const QString latest = LatestVersion(answer);
    delete versionRead_;
    versionRead_ = nullptr;
    setWaiting(false);
    if (latest.isEmpty()) {
        addLine(tr(">>抱歉,无法连接服务器!"));
        return;
    }
    compare(current_, latest);
}

void UpdaterWindow::setWaiting(bool waiting) {
    setButtonsEnabled(!waiting);
    if (waiting)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void UpdaterWindow::compare(const QString& current, const QString& latest) {
    addLine(tr(">>最新版本: V%1").arg(latest));
    emptyProgressBar();
    addLine(tr(">>正在分析信息...(OK)"));
    fillProgressBar();
    // As written, character by character: any difference, even an older version, updates.
    if (latest == current) {
        addLine(tr(">>未发现升级信息!您使用的是最新版本软件!"));
        return;
    }
    addLine(tr(">>开始下载升级程序..."));
    download_->SetSourceUrl(InstallerUrl().toString());
    download_->SetSaveFolder(InstallerFolder());
    download_->StartDownload();
}

void UpdaterWindow::addLine(const QString& line) {
    steps_->addItem(line);
}

void UpdaterWindow::fillProgressBar() {
    // A download without a length leaves the bar busy (no range); the steps need one.
    if (progressBar_->maximum() <= progressBar_->minimum())
        progressBar_->setRange(0, kStepMaximum);
    progressBar_->setValue(progressBar_->maximum());
}

void UpdaterWindow::emptyProgressBar() {
    progressBar_->setValue(0);
}

void UpdaterWindow::setButtonsEnabled(bool enabled) {
    checkButton_->setEnabled(enabled);
    cancelButton_->setEnabled(enabled);
}

void UpdaterWindow::onDownloadStarted() {
    setButtonsEnabled(false);
}

void UpdaterWindow::onDownloadProgress(int, qint32 received, qint32 total) {
    if (total > 0) {
        progressBar_->setRange(0, total);
        progressBar_->setValue(received);
    } else {
        // No length announced: the bar shows that something is happening, not how much.
        progressBar_->setRange(0, 0);
    }
    progressText_->setText(tr("总体进度: %1kb/%2kb").arg(Kilobytes(received), Kilobytes(total)));
    fileText_->setText(tr("下载文件: %1").arg(QString::fromLatin1(kInstallerFileName)));
}

void UpdaterWindow::onDownloadFinished(int) {
    addLine(tr(">>下载完成!"));
    addLine(tr(">>准备安装中..."));
    setButtonsEnabled(true);
    if (!StartInstaller(download_->SavedPath())) {
        addLine(tr("启动错误!"));
        return;
    }
    main_.endProgram();
}

void UpdaterWindow::onDownloadFailed() {
    addLine(tr(">>抱歉,无法连接服务器!"));
    progressBar_->setRange(0, kStepMaximum);
    emptyProgressBar();
    setButtonsEnabled(true);
}

void UpdaterWindow::unloading() {
    addLine(tr("检测被终止!"));
    addLine(tr("下载被终止!"));
    delete versionRead_;
    versionRead_ = nullptr;
    download_->Abort();
}

} // namespace ovelo
