#include "windows/aboutwindow.h"

#include "icons/icons.h"
#include "layout/design.h"
#include "layout/layout.h"
#include "product.h"
#include "settings/webaddresses.h"

#include <QLabel>
#include <QPushButton>

namespace ovelo {

namespace {

QLabel* Picture(QWidget* parent, const char* name) {
    return Named(new QLabel(parent), name);
}

QLabel* Text(QWidget* parent, const char* name, const QString& text) {
    auto* label = Named(new QLabel(text, parent), name);
    // Shown as it is: an address with "<" or "&" in Config.ini is no markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

QString AboutWindow::NoticeText() {
    return tr("%1由%2独立开发，专为播放Flash Video视频而作。")
        .arg(QString::fromLatin1(kProductName), QString::fromLatin1(kMakerName));
}

AboutWindow::AboutWindow() : Form("Form5", tr("关于"), 6855, 3930) {
    QLabel* banner = Picture(this, "Picture2");
    QLabel* noticeMark = Picture(this, "Picture1");
    QLabel* notice = Text(this, "Label1", NoticeText());
    QLabel* webMark = Picture(this, "Picture3");
    // The site as configured, as plain text to read, not a link.
    Text(this, "Label2", ProductSite());
    Text(this, "Label3", QString::fromLatin1(kVersionText));
    auto* ok = new QPushButton(tr("确定"), this);
    ok->setObjectName("Command1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    PlaceAndRecord(this, {{"Picture2", 240, 120, 6375, 2055},
                          {"Picture1", 240, 2280, 495, 495},
                          {"Label1", 600, 2280, 5415, 495},
                          {"Picture3", 240, 2760, 495, 495},
                          {"Label2", 960, 2760, 3135, 375},
                          {"Label3", 960, 3240, 1695, 495},
                          {"Command1", 4680, 3240, 1695, 420}});
    // The notice's rectangle starts under its picture's right edge; its text starts after it.
    notice->setIndent(noticeMark->geometry().right() - notice->x() + 4);
    banner->setPixmap(AboutBanner(banner->size()));
    noticeMark->setPixmap(AboutNoticePicture(noticeMark->size()));
    webMark->setPixmap(AboutWebPicture(webMark->size()));
    makeFixedSingle();
}

} // namespace ovelo
