#include "icons/icons.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <algorithm>

namespace ovelo {
namespace {

// Square pictures are drawn in a 100 x 100 box; rectangular ones get the whole rectangle.
using UnitDraw = void (*)(QPainter&);

const QColor kAccentLight(0x4f, 0xc3, 0xff);
const QColor kAccentDark(0x15, 0x5f, 0xc0);
const QColor kAccentDeep(0x0b, 0x34, 0x78);

void InUnitSquare(QPainter& p, const QRectF& r, UnitDraw draw) {
    const double side = std::min(r.width(), r.height());
    p.save();
    p.translate(r.center());
    p.scale(side / 100.0, side / 100.0);
    p.translate(-50, -50);
    draw(p);
    p.restore();
}

QLinearGradient Vertical(double top, double bottom, const QColor& from, const QColor& to) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    return g;
}

template <typename Draw> QPixmap Render(QSize size, Draw draw) {
    const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * dpr);
    if (pixmap.isNull())
        return pixmap;
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

// Draws a picture file in the middle of whatever box it is given: square pictures keep their
// shape in the wide button boxes.
void DrawSvg(QPainter& p, const QRectF& box, const QString& file) {
    QSvgRenderer svg(file);
    const double side = std::min(box.width(), box.height());
    svg.render(&p, QRectF(box.center() - QPointF(side, side) / 2, QSizeF(side, side)));
}

class PictureIconEngine : public QIconEngine {
  public:
    explicit PictureIconEngine(QString file) : file_(std::move(file)) {}

    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled)
            p->setOpacity(0.35);
        DrawSvg(*p, rect, file_);
        p->restore();
    }

    // QIcon asks in device pixels and sets the ratio on the result itself.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        if (pixmap.isNull())
            return pixmap;
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new PictureIconEngine(file_); }
    QString key() const override { return QStringLiteral("ovelo.picture"); }

  private:
    QString file_;
};

QString PictureFile(const char* name) {
    return QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name));
}

QPixmap SvgPicture(QSize size, const char* name) {
    return Render(size, [name](QPainter& p, const QRectF& r) { DrawSvg(p, r, PictureFile(name)); });
}

QPainterPath GlobeOutline() {
    QPainterPath globe;
    globe.addEllipse(QPointF(50, 50), 43, 43);
    return globe;
}

void GlobeBody(QPainter& p) {
    const QPainterPath globe = GlobeOutline();
    QRadialGradient g(QPointF(38, 34), 60);
    g.setColorAt(0, kAccentLight);
    g.setColorAt(1, kAccentDark);
    p.fillPath(globe, g);
    p.save();
    p.setClipPath(globe);
    p.setPen(QPen(QColor(0xe0, 0xf2, 0xff, 220), 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(50, 50), 19, 43);
    p.drawLine(QPointF(50, 5), QPointF(50, 95));
    p.drawLine(QPointF(5, 50), QPointF(95, 50));
    p.drawLine(QPointF(5, 29), QPointF(95, 29));
    p.drawLine(QPointF(5, 71), QPointF(95, 71));
    p.restore();
}

// On a white dialog the light rim would vanish, so it gets a dark one.
void GlobeOnWhite(QPainter& p) {
    GlobeBody(p);
    p.setPen(QPen(kAccentDeep, 3.5));
    p.drawPath(GlobeOutline());
}

// A round play mark, the product's emblem.
void Emblem(QPainter& p) {
    QRadialGradient g(QPointF(38, 32), 66);
    g.setColorAt(0, kAccentLight);
    g.setColorAt(1, kAccentDark);
    p.setPen(QPen(QColor(0xe6, 0xf4, 0xff), 3));
    p.setBrush(g);
    p.drawEllipse(QRectF(4, 4, 92, 92));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 45));
    p.drawEllipse(QRectF(18, 9, 64, 36));
    p.setBrush(Qt::white);
    const QPointF triangle[] = {{40, 28}, {40, 72}, {74, 50}};
    p.drawPolygon(triangle, 3);
}

QFont TextFont(const QStringList& families, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    font.setPixelSize(100);
    return font;
}

QFont WordFont() {
    return TextFont({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}, true);
}

QFont PlainFont() {
    return TextFont({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}, false);
}

QFont ChineseFont() {
    return TextFont({QStringLiteral("Microsoft YaHei"), QStringLiteral("微软雅黑"),
                     QStringLiteral("WenQuanYi Micro Hei")},
                    false);
}

// Text is drawn as an outline scaled into its box, so it fits whatever the font metrics; the
// box's left or bottom edge can anchor it so neighbouring texts line up.
QPainterPath FittedText(const QString& text, const QFont& font, const QRectF& box,
                        Qt::Alignment align = Qt::AlignCenter) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    if (b.isEmpty())
        return {};
    const double scale = std::min(box.width() / b.width(), box.height() / b.height());
    const bool left = align & Qt::AlignLeft, bottom = align & Qt::AlignBottom;
    QTransform t;
    t.translate(left ? box.left() : box.center().x(), bottom ? box.bottom() : box.center().y());
    t.scale(scale, scale);
    t.translate(-(left ? b.left() : b.center().x()), -(bottom ? b.bottom() : b.center().y()));
    return t.map(path);
}

void Word(QPainter& p, const QString& text, const QRectF& box, const QBrush& fill) {
    p.fillPath(FittedText(text, WordFont(), box), fill);
}

QLinearGradient WordFill(const QRectF& box) {
    return Vertical(box.top(), box.bottom(), Qt::white, QColor(0xa8, 0xdc, 0xff));
}

void Logo(QPainter& p, const QRectF& r) {
    const double h = r.height();
    InUnitSquare(p, QRectF(r.left(), r.top() + 0.03 * h, r.width(), 0.62 * h), Emblem);
    const QRectF word(r.left() + 0.05 * r.width(), r.top() + 0.7 * h, 0.9 * r.width(), 0.27 * h);
    Word(p, QStringLiteral("Ovelo"), word, WordFill(word));
}

void Banner(QPainter& p, const QRectF& r) {
    const double h = r.height();
    const QRectF mark(r.left() + 0.08 * h, r.top() + 0.1 * h, 0.8 * h, 0.8 * h);
    InUnitSquare(p, mark, Emblem);
    const double left = mark.right() + 0.25 * h;
    const QRectF word(left, r.top() + 0.18 * h, r.right() - 0.1 * h - left, 0.64 * h);
    Word(p, QStringLiteral("Ovelo"), word, WordFill(word));
}

// An information badge in the product's blue, rimmed dark so it stands out on a white dialog.
void NoticeBadge(QPainter& p) {
    QRadialGradient g(QPointF(38, 30), 70);
    g.setColorAt(0, kAccentLight);
    g.setColorAt(1, kAccentDark);
    p.setPen(QPen(kAccentDeep, 3.5));
    p.setBrush(g);
    p.drawEllipse(QRectF(5, 5, 90, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(50, 27), 8, 8);
    p.drawRoundedRect(QRectF(42, 41, 16, 36), 3, 3);
    p.drawRoundedRect(QRectF(35, 41, 16, 8), 2, 2);
    p.drawRoundedRect(QRectF(35, 71, 30, 8), 2, 2);
}

void EscKeyCap(QPainter& p) {
    p.setPen(QPen(QColor(0xd0, 0xd8, 0xe2), 3));
    p.setBrush(Vertical(14, 86, QColor(0x5a, 0x66, 0x76), QColor(0x22, 0x29, 0x33)));
    p.drawRoundedRect(QRectF(8, 18, 84, 64), 12, 12);
    QFont font;
    font.setPixelSize(30);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(8, 18, 84, 60), Qt::AlignCenter, QStringLiteral("Esc"));
}

void CloseMark(QPainter& p) {
    p.setPen(QPen(QColor(0xe8, 0xec, 0xf0), 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(28, 28), QPointF(72, 72));
    p.drawLine(QPointF(72, 28), QPointF(28, 72));
}

// The about box is white, so the band is pale and fades out to the right, and the name is dark.
void AboutBand(QPainter& p, const QRectF& r) {
    QLinearGradient band(r.topLeft(), r.topRight());
    band.setColorAt(0, QColor(0xd4, 0xec, 0xff));
    band.setColorAt(0.55, QColor(0xec, 0xf7, 0xff));
    band.setColorAt(1, QColor(0xff, 0xff, 0xff, 0));
    p.fillRect(r, band);
    QLinearGradient rule(r.topLeft(), r.topRight());
    rule.setColorAt(0, kAccentDark);
    rule.setColorAt(1, QColor(kAccentLight.red(), kAccentLight.green(), kAccentLight.blue(), 0));
    const double thick = std::max(1.0, 0.025 * r.height());
    p.fillRect(QRectF(r.left(), r.bottom() - thick, r.width(), thick), rule);
}

void AboutArt(QPainter& p, const QRectF& r) {
    AboutBand(p, r);
    const double h = r.height();
    const QRectF mark(r.left() + 0.12 * h, r.top() + 0.14 * h, 0.7 * h, 0.7 * h);
    InUnitSquare(p, mark, Emblem);
    const double left = mark.right() + 0.2 * h, width = r.right() - 0.1 * h - left;
    const QRectF name(left, r.top() + 0.14 * h, width, 0.46 * h);
    const QPainterPath word =
        FittedText(QStringLiteral("Ovelo"), WordFont(), name, Qt::AlignLeft | Qt::AlignBottom);
    p.fillPath(word, Vertical(name.top(), name.bottom(), QColor(0x1e, 0x8c, 0xe4), kAccentDeep));
    const QRectF line(left + 0.02 * h, r.top() + 0.67 * h, width, 0.14 * h);
    p.fillPath(FittedText(QStringLiteral("Flash Video Player"), PlainFont(), line,
                          Qt::AlignLeft | Qt::AlignVCenter),
               QColor(0x48, 0x5a, 0x70));
}

// A book with a film frame on its cover: what there is to know about a video format.
void BookShape(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kAccentLight);
    p.drawRoundedRect(QRectF(22, 8, 66, 86), 6, 6);
    p.setBrush(QColor(0xf4, 0xf8, 0xfc));
    p.drawRect(QRectF(26, 11, 58, 78));
    p.setPen(QPen(kAccentDeep, 2));
    p.setBrush(Vertical(6, 88, Qt::white, QColor(0xb4, 0xe2, 0xff)));
    p.drawRoundedRect(QRectF(12, 5, 66, 84), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccentDark);
    p.drawRoundedRect(QRectF(12, 5, 12, 84), 6, 6);
    p.drawRect(QRectF(18, 5, 6, 84));
    p.setBrush(QColor(0x12, 0x1a, 0x26));
    p.drawRoundedRect(QRectF(31, 27, 40, 40), 3, 3);
    p.setBrush(Qt::white);
    for (int i = 0; i < 5; ++i) {
        p.drawRect(QRectF(34 + 7.5 * i, 30, 4, 4));
        p.drawRect(QRectF(34 + 7.5 * i, 60, 4, 4));
    }
    p.setBrush(kAccentLight);
    const QPointF triangle[] = {{44, 38}, {44, 56}, {59, 47}};
    p.drawPolygon(triangle, 3);
}

// The band is a strip of film: deep blue brightening to cyan, with faint sprocket holes.
void KnowledgeBand(QPainter& p, const QRectF& r) {
    QLinearGradient band(r.topLeft(), r.topRight());
    band.setColorAt(0, kAccentDeep);
    band.setColorAt(0.6, kAccentDark);
    band.setColorAt(1, QColor(0x2a, 0xa4, 0xe8));
    p.fillRect(r, band);
    const double hole = 0.07 * r.height();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    for (double x = r.left() + hole; x < r.right(); x += 2.5 * hole) {
        p.drawRoundedRect(QRectF(x, r.top() + hole * 0.6, hole, hole), 1, 1);
        p.drawRoundedRect(QRectF(x, r.bottom() - hole * 1.6, hole, hole), 1, 1);
    }
    const double h = r.height(), tip = r.right() - 0.5 * h;
    p.setBrush(QColor(255, 255, 255, 32));
    const QPointF play[] = {{tip - 0.5 * h, r.top() + 0.2 * h},
                            {tip - 0.5 * h, r.bottom() - 0.2 * h},
                            {tip, r.center().y()}};
    p.drawPolygon(play, 3);
}

// The film band with a mark at the left, a big word and a smaller caption after it.
void BandArt(QPainter& p, const QRectF& r, UnitDraw mark, const QString& word,
             const QString& caption) {
    KnowledgeBand(p, r);
    const double h = r.height();
    const QRectF markBox(r.left() + 0.18 * h, r.top() + 0.14 * h, 0.72 * h, 0.72 * h);
    InUnitSquare(p, markBox, mark);
    // The caption is sized first so that a long word shrinks rather than pushing it out.
    const QRectF unplaced(0, -0.26 * h, r.width(), 0.26 * h);
    const QPainterPath small =
        FittedText(caption, ChineseFont(), unplaced, Qt::AlignLeft | Qt::AlignBottom);
    const double gap = 0.18 * h, left = markBox.right() + 0.3 * h;
    const double room = r.right() - 0.2 * h - left - gap - small.boundingRect().width();
    const QRectF big(left, r.top() + 0.2 * h, std::max(room, 1.0), 0.52 * h);
    const QPainterPath text = FittedText(word, WordFont(), big, Qt::AlignLeft | Qt::AlignBottom);
    p.fillPath(text, Vertical(big.top(), big.bottom(), Qt::white, QColor(0xc4, 0xea, 0xff)));
    const double right = text.isEmpty() ? left : text.boundingRect().right() + gap;
    p.fillPath(small.translated(right, big.bottom()), QColor(0xa8, 0xe0, 0xff));
}

// A box with an arrow coming down into it: a new version arriving.
void DownloadShape(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(52, 94, Qt::white, QColor(0xb4, 0xe2, 0xff)));
    p.drawRoundedRect(QRectF(10, 56, 80, 36), 6, 6);
    p.setBrush(kAccentDeep);
    p.drawRoundedRect(QRectF(22, 70, 56, 8), 3, 3);
    p.setBrush(Vertical(6, 70, kAccentLight, QColor(0x8c, 0xf5, 0xad)));
    const QPointF arrow[] = {{40, 6}, {60, 6}, {60, 38}, {76, 38}, {50, 68}, {24, 38}, {40, 38}};
    p.drawPolygon(arrow, 7);
}

template <UnitDraw draw> QPixmap Square(QSize size) {
    return Render(size, [](QPainter& p, const QRectF& r) { InUnitSquare(p, r, draw); });
}

} // namespace

QIcon PlayIcon() {
    return QIcon(new PictureIconEngine(PictureFile("play")));
}

QIcon PauseIcon() {
    return QIcon(new PictureIconEngine(PictureFile("pause")));
}

QIcon StopIcon() {
    return QIcon(new PictureIconEngine(PictureFile("stop")));
}

QPixmap OpenFilePicture(QSize size) {
    return SvgPicture(size, "openfile");
}

QPixmap OpenUrlPicture(QSize size) {
    return SvgPicture(size, "openurl");
}

QPixmap OnlinePicture(QSize size) {
    return Render(size, Logo);
}

QPixmap SettingsPicture(QSize size) {
    return SvgPicture(size, "settings");
}

QPixmap SkinPicture(QSize size) {
    return SvgPicture(size, "skin");
}

QPixmap BannerPicture(QSize size) {
    return Render(size, Banner);
}

QPixmap AboutBanner(QSize size) {
    return Render(size, AboutArt);
}

QPixmap AboutNoticePicture(QSize size) {
    return Square<NoticeBadge>(size);
}

QPixmap AboutWebPicture(QSize size) {
    return Square<GlobeOnWhite>(size);
}

QPixmap KnowledgeBanner(QSize size, const QString& topic) {
    return Render(size, [&topic](QPainter& p, const QRectF& r) {
        BandArt(p, r, BookShape, topic, QCoreApplication::translate("ovelo::Pictures", "知识中心"));
    });
}

QPixmap UpdaterBanner(QSize size) {
    return Render(size, [](QPainter& p, const QRectF& r) {
        BandArt(p, r, DownloadShape, QStringLiteral("UPDATE"),
                QCoreApplication::translate("ovelo::Pictures", "在线升级"));
    });
}

QPixmap HintKeyPicture(QSize size) {
    return Square<EscKeyCap>(size);
}

QPixmap HintClosePicture(QSize size) {
    return Square<CloseMark>(size);
}

} // namespace ovelo
