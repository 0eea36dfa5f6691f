#include "logo.h"

#include "twips.h"

#include <QEvent>
#include <QLabel>
#include <cmath>

namespace flv {

namespace {

QLabel* MakeCaption(QWidget* parent, const char* name, const QColor& color) {
    auto* label = new QLabel(QString::fromLatin1(Logo::kCaption), parent);
    label->setObjectName(QString::fromLatin1(name));
    // For hosts without a style sheet; the program's look (kept.qss) repeats the colours only so
    // that no skin can change them.
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
    // See-through: only the caption is drawn over the video.
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

QFont CaptionFont(int points) {
    QFont font;
    // The design font is rarely installed on Linux; the Kai faces and then any CJK face stand in.
    font.setFamilies({QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi"),
                      QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    font.setBold(true);
    // A control too small for a 1-point caption still gets one rather than Qt's refusal.
    font.setPointSize(points > 0 ? points : 1);
    return font;
}

} // namespace

Logo::Logo(QWidget* parent)
    : QWidget(parent), backText_(MakeCaption(this, "Label1", QColor(0xFF, 0, 0))),
      frontText_(MakeCaption(this, "Label2", QColor(0xFF, 0xFF, 0x80))) {
    setObjectName("Logo1");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    frontText_->raise();
    SetSize(18);
}

void Logo::SetSize(int New_Size) {
    fontSize_ = New_Size;
    const QFont font = CaptionFont(New_Size);
    backText_->setFont(font);
    frontText_->setFont(font);
    backText_->adjustSize();
    frontText_->adjustSize();
    const int offset = int(std::lround(8 / TwipsPerPixel(this)));
    backText_->move(0, 0);
    frontText_->move(offset, offset);
    resize(backText_->size());
}

void Logo::changeEvent(QEvent* event) {
    // A new application style sheet gives the captions back the font they had when first
    // styled; once every widget is restyled, they get their current size again.
    if (event->type() == QEvent::StyleChange)
        QMetaObject::invokeMethod(
            this, [this] { SetSize(fontSize_); }, Qt::QueuedConnection);
    QWidget::changeEvent(event);
}

int Logo::SizeForHeight(double heightTwips) {
    const double size = std::nearbyint(heightTwips / 500.0);
    return std::isfinite(size) ? int(size) : 0;
}

} // namespace flv
