#include "finder/finderwindow.h"

#include "finder/extraction.h"
#include "finder/pagefetch.h"
#include "layout/design.h"
#include "platform/caption.h"
#include "settings/webaddresses.h"
#include "windows/analysisdialog.h"
#include "windows/coordinator.h"
#include "windows/mainaccess.h"

#include "flv/velmora.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace ovelo {

FinderWindow::FinderWindow(MainAccess& main, WindowCoordinator& windows)
    : Form("Form10", QStringLiteral("分析中..."), 6330, 2265), main_(main), windows_(windows) {
    build();
    makeFixedSingle();
    ask();
}

void FinderWindow::build() {
    auto* frame = new QGroupBox(QStringLiteral("视频真实路径"), this);
    frame->setObjectName("Frame1");
    textshow_ = new QPlainTextEdit(QStringLiteral("无法分析!"), this);
    textshow_->setObjectName("Textshow");
    textshow_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    textshow_->setWordWrapMode(QTextOption::WrapAnywhere);
    textshow_->setEnabled(false);
    command1_ = new QPushButton(QStringLiteral("播放"), this);
    command1_->setObjectName("Command1");
    command1_->setEnabled(false);
    command2_ = new QPushButton(QStringLiteral("复制"), this);
    command2_->setObjectName("Command2");
    command2_->setEnabled(false);
    progressBar1_ = new QProgressBar(this);
    progressBar1_->setObjectName("ProgressBar1");
    progressBar1_->setTextVisible(false);
    progressBar1_->hide();
    connect(command1_, &QPushButton::clicked, this, &FinderWindow::play);
    connect(command2_, &QPushButton::clicked, this, &FinderWindow::copy);
    PlaceAndRecord(this, {{"Frame1", 120, 60, 6090, 1335},
                          {"Textshow", 240, 330, 5850, 945},
                          {"ProgressBar1", 120, 1455, 6090, 195},
                          {"Command1", 2520, 1770, 1575, 375},
                          {"Command2", 4635, 1770, 1575, 375}});
}

void FinderWindow::ask() {
    AnalysisDialog* asker = dialog();
    text4_ = ParserQuery(ParserService(), asker ? asker->address() : QString());
    if (asker)
        asker->setWaiting(true);
    fetch_ = FetchPage(text4_, this);
    connect(fetch_, &WebFetch::finished, this, &FinderWindow::answered);
}

void FinderWindow::answered(const FetchResult& answer) {
    text1_ = viewSource(answer);
    delete fetch_;
    fetch_ = nullptr;
    const QString found = analyse();
    if (!found.isEmpty())
        showFound(found);
    windows_.show(WindowId::Finder);
    AnalysisDialog* asker = dialog();
    if (!asker)
        return;
    asker->setWaiting(false);
    // Its address has done its work once found; otherwise it is kept for another try.
    if (found.isEmpty())
        asker->hide();
    else
        asker->close();
}

QString FinderWindow::analyse() {
    const QStringList candidates =
        FlvUrl_In_Html(text1_, UrlDatPath(), [this](qint32 index, qint32 count) {
            if (index == 0) {
                // A range of one step at least: an empty one would show a busy bar.
                progressBar1_->setRange(0, qMax(1, count - 1));
                progressBar1_->show();
            }
            progressBar1_->setValue(index);
        });
    progressBar1_->setValue(progressBar1_->maximum());
    textshow_->clear();
    return LastVideoAddress(candidates);
}

void FinderWindow::showFound(const QString& address) {
    textshow_->setPlainText(address);
    textshow_->setEnabled(true);
    command1_->setEnabled(true);
    command2_->setEnabled(true);
    SetCaption(this, QStringLiteral("分析完成!"));
}

AnalysisDialog* FinderWindow::dialog() const {
    return windows_.loaded<AnalysisDialog>(WindowId::Analysis);
}

void FinderWindow::unloading() {
    if (!fetch_)
        return;
    // Closed before the service answered: the question is withdrawn and the dialog takes input
    // again.
    delete fetch_;
    fetch_ = nullptr;
    if (AnalysisDialog* asker = dialog())
        asker->setWaiting(false);
}

void FinderWindow::play() {
    // What the box holds now: the user may have edited the address.
    main_.mainPlayer().PlayMovie(textshow_->toPlainText());
    close();
}

void FinderWindow::copy() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(textshow_->toPlainText());
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("成功"),
                                QStringLiteral("复制完成!"), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace ovelo
