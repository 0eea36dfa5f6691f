#include "finder/finderwindow.h"

#include "finder/extraction.h"
#include "finder/pagefetch.h"
#include "layout/design.h"
#include "platform/caption.h"
#include "settings/webaddresses.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace ovelo {

FinderWindow::FinderWindow() : Form("Form10", tr("分析中..."), 6330, 2265) {
    build();
    makeFixedSingle();
}

void FinderWindow::build() {
    auto* frame = new QGroupBox(tr("视频真实路径"), this);
    frame->setObjectName("Frame1");
    addressBox_ = new QPlainTextEdit(tr("无法分析!"), this);
    addressBox_->setObjectName("Textshow");
    addressBox_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    addressBox_->setWordWrapMode(QTextOption::WrapAnywhere);
    addressBox_->setEnabled(false);
    playButton_ = new QPushButton(tr("播放"), this);
    playButton_->setObjectName("Command1");
    playButton_->setEnabled(false);
    copyButton_ = new QPushButton(tr("复制"), this);
    copyButton_->setObjectName("Command2");
    copyButton_->setEnabled(false);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName("ProgressBar1");
    progressBar_->setTextVisible(false);
    progressBar_->hide();
    connect(playButton_, &QPushButton::clicked, this, &FinderWindow::play);
    connect(copyButton_, &QPushButton::clicked, this, &FinderWindow::copy);
    PlaceAndRecord(this, {{"Frame1", 120, 60, 6090, 1335},
                          {"Textshow", 240, 330, 5850, 945},
                          {"ProgressBar1", 120, 1455, 6090, 195},
                          {"Command1", 2520, 1770, 1575, 375},
                          {"Command2", 4635, 1770, 1575, 375}});
}

void FinderWindow::ask(const QString& pageAddress) {
    queryAddress_ = ParserQuery(ParserService(), pageAddress);
    fetch_ = FetchPage(queryAddress_, this);
    connect(fetch_, &WebFetch::finished, this, &FinderWindow::onAnswer);
}

void FinderWindow::onAnswer(const FetchResult& answer) {
    pageText_ = viewSource(answer);
    delete fetch_;
    fetch_ = nullptr;
    const QString found = analyse();
    if (!found.isEmpty())
        showFound(found);
    show();
    raise();
    activateWindow();
    emit answered(!found.isEmpty());
}

QString FinderWindow::analyse() {
    const QStringList candidates =
        FlvUrl_In_Html(pageText_, UrlDatPath(), [this](qint32 index, qint32 count) {
            if (index == 0) {
                // A range of one step at least: an empty one would show a busy bar.
                progressBar_->setRange(0, qMax(1, count - 1));
                progressBar_->show();
            }
            progressBar_->setValue(index);
        });
    progressBar_->setValue(progressBar_->maximum());
    addressBox_->clear();
    return LastVideoAddress(candidates);
}

void FinderWindow::showFound(const QString& address) {
    addressBox_->setPlainText(address);
    addressBox_->setEnabled(true);
    playButton_->setEnabled(true);
    copyButton_->setEnabled(true);
    SetCaption(this, tr("分析完成!"));
}

void FinderWindow::unloading() {
    if (!fetch_)
        return;
    delete fetch_;
    fetch_ = nullptr;
    emit questionWithdrawn();
}

void FinderWindow::play() {
    // What the box holds now: the user may have edited the address.
    emit addressChosen(addressBox_->toPlainText());
    close();
}

void FinderWindow::copy() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(addressBox_->toPlainText());
    auto* box = new QMessageBox(QMessageBox::Information, tr("成功"), tr("复制完成!"),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace ovelo
