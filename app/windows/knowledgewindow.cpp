#include "windows/knowledgewindow.h"

#include "icons/icons.h"
#include "layout/design.h"

#include <QLabel>
#include <QPushButton>

namespace ovelo {

QString KnowledgeWindow::FlvText() {
    return tr(
        "FLV 是FLASH VIDEO的简称，FLV流媒体格式是随着Flash "
        "MX的推出发展而来的视频格式。由于它形成的文件极小、加载速度极快，使得网络观看视频文件成为"
        "可能，它的出现有效地解决了视频文件导入Flash后，使导出的SWF文件体积庞大，不能在网络上很好"
        "的使用等缺点。\n");
}

QString KnowledgeWindow::F4vText() {
    return tr(
        "F4V是Adobe公司为了迎接高清时代而推出继FLV格式后的支持H.264的F4V流媒体格式。它和FLV主要的"
        "区别在于，FLV格式采用的是H263编码，而F4V则支持H.264编码的高清晰视频，码率最高可达50Mbps。"
        " ");
}

KnowledgeWindow* KnowledgeWindow::AboutFlv() {
    return new KnowledgeWindow({"Form7", "FLV", tr("什么是Flv?"), 2760, FlvText()});
}

KnowledgeWindow* KnowledgeWindow::AboutF4v() {
    return new KnowledgeWindow({"Form8", "F4V", tr("什么是F4v?"), 2880, F4vText()});
}

KnowledgeWindow::KnowledgeWindow(const Topic& topic)
    : Form(topic.name, tr("知识中心"), 6795, 3675) {
    auto* banner = new QLabel(this);
    banner->setObjectName("Picture1");
    auto* title = new QLabel(topic.title, this);
    title->setObjectName("Label1");
    auto* text = new QLabel(topic.text, this);
    text->setObjectName("Label2");
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QLabel* label : {title, text})
        label->setTextFormat(Qt::PlainText);
    auto* ok = new QPushButton(tr("确定"), this);
    ok->setObjectName("Command1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    PlaceAndRecord(this, {{"Picture1", 0, 0, 6855, 1215},
                          {"Label1", topic.titleLeft, 1320, 1215, 255},
                          {"Label2", 240, 1680, 6375, 1215},
                          {"Command1", 5160, 3120, 1455, 375}});
    banner->setPixmap(KnowledgeBanner(banner->size(), QString::fromLatin1(topic.short_)));
    makeFixedSingle();
}

} // namespace ovelo
