#include "logo.h"

#include "nativechild.h"
#include "twips.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QWindow>
#include <cmath>

namespace flv {

namespace {

// A caption over the video is repainted with every frame that passes under it. Laying its text
// out and shaping it each time was a twentieth of the program's CPU at 360p (perf): it is drawn
// once into a picture, as its label draws it, and each repaint draws that picture.
class Caption : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override {
        const qreal ratio = devicePixelRatioF();
        if (drawing_ || picture_.isNull() || pictureText_ != text() ||
            picture_.size() != size() * ratio || picture_.devicePixelRatio() != ratio) {
            // Drawn as a label this once; the picture is made after this repaint, outside it.
            QLabel::paintEvent(event);
            if (!drawing_ && !pictureAsked_) {
                pictureAsked_ = true;
                QMetaObject::invokeMethod(this, &Caption::makePicture, Qt::QueuedConnection);
            }
            return;
        }
        QPainter(this).drawPixmap(0, 0, picture_);
    }
    void changeEvent(QEvent* event) override {
        // A new font, palette or style sheet draws it anew.
        picture_ = QPixmap();
        QLabel::changeEvent(event);
    }

  private:
    void makePicture() {
        pictureAsked_ = false;
        const qreal ratio = devicePixelRatioF();
        QPixmap picture(size() * ratio);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::transparent);
        drawing_ = true;
        render(&picture, QPoint(), QRegion(), RenderFlags());
        drawing_ = false;
        picture_ = picture;
        pictureText_ = text();
    }

    QPixmap picture_;
    QString pictureText_;
    bool drawing_ = false;
    bool pictureAsked_ = false;
};

const QColor kBackColour(0xFF, 0, 0);
const QColor kFrontColour(0xFF, 0xFF, 0x80);

QLabel* MakeCaption(QWidget* parent, const char* name, const QColor& color) {
    auto* label = new Caption(QString::fromLatin1(Logo::kCaption), parent);
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
    : QWidget(parent), backText_(MakeCaption(this, "Label1", kBackColour)),
      frontText_(MakeCaption(this, "Label2", kFrontColour)) {
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
    if (aboveWindows_)
        shapeToLetters();
}

void Logo::SetAboveWindows(bool on) {
    if (on == aboveWindows_)
        return;
    aboveWindows_ = on;
    if (!on) {
        clearMask();
        return;
    }
    // One window for both captions, so that they overlap as widgets do. Only this one: Qt
    // would otherwise make every widget around it a window too, and the input over the video
    // would land in windows the host does not listen to.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_NativeWindow);
    PassPointerThrough(this);
    shapeToLetters();
}

// Edge pixels more than half covered belong to the letters.
static QRegion LettersOf(const QLabel* caption) {
    QImage image(caption->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // Laid out as the label lays out its text.
    QPainter painter(&image);
    painter.setFont(caption->font());
    painter.setPen(Qt::black);
    painter.drawText(caption->contentsRect(), int(caption->alignment()), caption->text());
    painter.end();
    const QImage mask = image.createAlphaMask(Qt::ThresholdAlphaDither | Qt::ThresholdDither);
    return QRegion(QBitmap::fromImage(mask)).translated(caption->pos());
}

void Logo::shapeToLetters() {
    backLetters_ = LettersOf(backText_);
    frontLetters_ = LettersOf(frontText_);
    setMask(backLetters_ + frontLetters_);
    update();
}

// The shape follows the letters to a whole pixel. At higher densities the letters are drawn
// finer than that: what the shape lets through around them is the caption's own colour, not
// the background, so the letters keep clean edges over the video.
void Logo::paintEvent(QPaintEvent*) {
    if (!aboveWindows_)
        return;
    QPainter painter(this);
    painter.setClipRegion(backLetters_ - frontLetters_);
    painter.fillRect(rect(), kBackColour);
    painter.setClipRegion(frontLetters_);
    painter.fillRect(rect(), kFrontColour);
}

bool Logo::event(QEvent* event) {
    // Made or shown again, the window goes back above the picture's.
    if ((event->type() == QEvent::WinIdChange || event->type() == QEvent::Show) && aboveWindows_ &&
        windowHandle()) {
        KeepUnderNativeParent(this);
        windowHandle()->raise();
    }
    return QWidget::event(event);
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
