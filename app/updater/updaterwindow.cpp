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
    : Form("Form11", QStringLiteral("升级"), 6855, 5100), main_(main) {
    auto* banner = Named(new QLabel(this), "Picture1");
    list1_ = Named(new QListWidget(this), "List1");
    pb_ = Named(new QProgressBar(this), "Pb");
    pb_->setTextVisible(false);
    pb_->setRange(0, kStepMaximum);
    pb_->setValue(0);
    label1_ = Named(new QLabel(QStringLiteral("总体进度:"), this), "Label1");
    label3_ = Named(new QLabel(QStringLiteral("下载文件:"), this), "Label3");
    command1_ = Named(new QPushButton(QStringLiteral("检测"), this), "Command1");
    command2_ = Named(new QPushButton(QStringLiteral("取消"), this), "Command2");
    PlaceAndRecord(this, {{"Picture1", 0, 0, 6855, 1215},
                          {"List1", 120, 1320, 6615, 2295},
                          {"Pb", 120, 3720, 6615, 255},
                          {"Label1", 120, 4080, 3255, 255},
                          {"Label3", 3480, 4080, 3255, 255},
                          {"Command1", 3480, 4560, 1455, 420},
                          {"Command2", 5160, 4560, 1455, 420}});
    banner->setPixmap(UpdaterBanner(banner->size()));
    makeFixedSingle();

    down_ = new DownloadControl(this);
    connect(down_, &DownloadControl::DownloadStarted, this, &UpdaterWindow::down_DownloadStarted);
    connect(down_, &DownloadControl::DownloadProgress, this, &UpdaterWindow::down_DownloadProgress);
    connect(down_, &DownloadControl::DownloadFinished, this, &UpdaterWindow::down_DownloadFinished);
    connect(down_, &DownloadControl::DownloadFailed, this, &UpdaterWindow::down_DownloadFailed);
    connect(command1_, &QPushButton::clicked, this, &UpdaterWindow::check);
    connect(command2_, &QPushButton::clicked, this, &QWidget::close);
    // Once whoever made the window has shown it: the first lines appear in view.
    QTimer::singleShot(0, this, &UpdaterWindow::check);
}

void UpdaterWindow::check() {
    // A new check starts from nothing: an earlier read still running is dropped unheard.
    delete versionRead_;
    versionRead_ = nullptr;
    list1_->clear();
    addLine(QStringLiteral(">>正在获取当前版本信息...(OK)"));
    fillPb();
    current_ = ReadSetting(ini::Version);
    addLine(QStringLiteral(">>当前版本: V") + current_);
    emptyPb();
    addLine(QStringLiteral(">>正在获取最新版本信息...(OK)"));
    fillPb();
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
        addLine(QStringLiteral(">>抱歉,无法连接服务器!"));
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
    addLine(QStringLiteral(">>最新版本: V") + latest);
    emptyPb();
    addLine(QStringLiteral(">>正在分析信息...(OK)"));
    fillPb();
    // As written, character by character: any difference, even an older version, updates.
    if (latest == current) {
        addLine(QStringLiteral(">>未发现升级信息!您使用的是最新版本软件!"));
        return;
    }
    addLine(QStringLiteral(">>开始下载升级程序..."));
    down_->SetSourceUrl(InstallerUrl().toString());
    down_->SetSaveFolder(InstallerFolder());
    down_->StartDownload();
}

void UpdaterWindow::addLine(const QString& line) {
    list1_->addItem(line);
}

void UpdaterWindow::fillPb() {
    // A download without a length leaves the bar busy (no range); the steps need one.
    if (pb_->maximum() <= pb_->minimum())
        pb_->setRange(0, kStepMaximum);
    pb_->setValue(pb_->maximum());
}

void UpdaterWindow::emptyPb() {
    pb_->setValue(0);
}

void UpdaterWindow::setButtonsEnabled(bool enabled) {
    command1_->setEnabled(enabled);
    command2_->setEnabled(enabled);
}

void UpdaterWindow::down_DownloadStarted() {
    setButtonsEnabled(false);
}

void UpdaterWindow::down_DownloadProgress(int, qint32 received, qint32 total) {
    if (total > 0) {
        pb_->setRange(0, total);
        pb_->setValue(received);
    } else {
        // No length announced: the bar shows that something is happening, not how much.
        pb_->setRange(0, 0);
    }
    label1_->setText(QStringLiteral("总体进度: ") + Kilobytes(received) + QStringLiteral("kb/") +
                     Kilobytes(total) + QStringLiteral("kb"));
    label3_->setText(QStringLiteral("下载文件: ") + QString::fromLatin1(kInstallerFileName));
}

void UpdaterWindow::down_DownloadFinished(int) {
    addLine(QStringLiteral(">>下载完成!"));
    addLine(QStringLiteral(">>准备安装中..."));
    setButtonsEnabled(true);
    if (!StartInstaller(down_->SavedPath())) {
        addLine(QStringLiteral("启动错误!"));
        return;
    }
    main_.endProgram();
}

void UpdaterWindow::down_DownloadFailed() {
    addLine(QStringLiteral(">>抱歉,无法连接服务器!"));
    pb_->setRange(0, kStepMaximum);
    emptyPb();
    setButtonsEnabled(true);
}

void UpdaterWindow::unloading() {
    addLine(QStringLiteral("检测被终止!"));
    addLine(QStringLiteral("下载被终止!"));
    delete versionRead_;
    versionRead_ = nullptr;
    down_->Abort();
}

} // namespace ovelo
