#include "icons/icons.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace ovelo {
namespace {

// Square pictures are drawn in a 100 x 100 box; rectangular ones get the whole rectangle.
using UnitDraw = void (*)(QPainter&);
using RectDraw = void (*)(QPainter&, const QRectF&);

const QColor kAccentLight(0x4f, 0xc3, 0xff);
const QColor kAccentDark(0x15, 0x5f, 0xc0);

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

QPixmap Render(QSize size, RectDraw draw) {
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

// The buttons sit on the window's own surface, whatever its colour, so each glyph gets a dark
// disc with a light rim under it.
void ButtonDisc(QPainter& p) {
    p.setPen(QPen(QColor(0xc8, 0xd7, 0xe6, 210), 3));
    p.setBrush(Vertical(4, 96, QColor(0x4a, 0x58, 0x6a), QColor(0x10, 0x15, 0x1d)));
    p.drawEllipse(QRectF(4, 4, 92, 92));
    p.setPen(Qt::NoPen);
}

void PlayGlyph(QPainter& p) {
    ButtonDisc(p);
    p.setBrush(Vertical(28, 72, QColor(0x8c, 0xf5, 0xad), QColor(0x2e, 0xbd, 0x68)));
    const QPointF triangle[] = {{39, 27}, {39, 73}, {75, 50}};
    p.drawPolygon(triangle, 3);
}

void PauseGlyph(QPainter& p) {
    ButtonDisc(p);
    p.setBrush(Vertical(29, 71, QColor(0xff, 0xdc, 0x80), QColor(0xf0, 0xa0, 0x20)));
    p.drawRoundedRect(QRectF(32, 29, 13, 42), 3, 3);
    p.drawRoundedRect(QRectF(55, 29, 13, 42), 3, 3);
}

void StopGlyph(QPainter& p) {
    ButtonDisc(p);
    p.setBrush(Vertical(32, 68, QColor(0xff, 0x8a, 0x80), QColor(0xe0, 0x3a, 0x32)));
    p.drawRoundedRect(QRectF(32, 32, 36, 36), 5, 5);
}

class PaintedIconEngine : public QIconEngine {
  public:
    explicit PaintedIconEngine(UnitDraw draw) : draw_(draw) {}

    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled)
            p->setOpacity(0.35);
        InUnitSquare(*p, rect, draw_);
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

    QIconEngine* clone() const override { return new PaintedIconEngine(draw_); }
    QString key() const override { return QStringLiteral("ovelo.painted"); }

  private:
    UnitDraw draw_;
};

QPainterPath FolderFront() {
    QPainterPath front;
    front.addRoundedRect(QRectF(6, 38, 88, 48), 6, 6);
    return front;
}

void FolderShape(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd9, 0x93, 0x1c));
    p.drawRoundedRect(QRectF(6, 16, 36, 20), 5, 5);
    p.drawRoundedRect(QRectF(6, 24, 88, 56), 6, 6);
    p.setBrush(Vertical(38, 86, QColor(0xff, 0xdb, 0x6e), QColor(0xf2, 0xa9, 0x26)));
    p.drawPath(FolderFront());
    p.setBrush(QColor(0x5a, 0x36, 0x00, 200));
    const QPointF triangle[] = {{43, 49}, {43, 75}, {64, 62}};
    p.drawPolygon(triangle, 3);
}

void GlobeShape(QPainter& p) {
    QPainterPath globe;
    globe.addEllipse(QPointF(50, 50), 43, 43);
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
    p.setPen(QPen(QColor(0xe0, 0xf2, 0xff), 3.5));
    p.drawPath(globe);
}

QPainterPath GearPath() {
    QPainterPath gear;
    gear.addEllipse(QPointF(50, 50), 33, 33);
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-8, -47, 16, 22), 3, 3);
        gear = gear.united(QTransform().translate(50, 50).rotate(45.0 * i).map(tooth));
    }
    QPainterPath hole;
    hole.addEllipse(QPointF(50, 50), 13, 13);
    return gear.subtracted(hole);
}

void GearShape(QPainter& p) {
    p.setPen(QPen(QColor(0x3a, 0x44, 0x50), 2));
    p.setBrush(Vertical(3, 97, QColor(0xf2, 0xf5, 0xf8), QColor(0x8e, 0x9a, 0xa8)));
    p.drawPath(GearPath());
}

QPainterPath PalettePath() {
    QPainterPath board;
    board.addEllipse(QRectF(5, 12, 90, 76));
    QPainterPath thumb;
    thumb.addEllipse(QPointF(64, 66), 9, 9);
    QPainterPath notch;
    notch.addEllipse(QPointF(92, 72), 14, 12);
    return board.subtracted(thumb).subtracted(notch);
}

void PaletteShape(QPainter& p) {
    p.setPen(QPen(QColor(0x6b, 0x45, 0x22), 2));
    p.setBrush(Vertical(12, 88, QColor(0xf4, 0xd9, 0xb4), QColor(0xc9, 0x94, 0x5e)));
    p.drawPath(PalettePath());
    const QColor paints[] = {
        {0xf0, 0x44, 0x3a}, {0xff, 0xcc, 0x2e}, {0x3c, 0xc8, 0x5a}, {0x2f, 0x8c, 0xff}};
    const QPointF spots[] = {{26, 40}, {46, 28}, {68, 32}, {28, 63}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(paints[i]);
        p.drawEllipse(spots[i], 8.5, 8.5);
    }
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

QFont WordFont() {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(100);
    return font;
}

// The word is drawn as an outline scaled into the box, so it fills it whatever the font metrics.
void Word(QPainter& p, const QString& text, const QRectF& box, const QBrush& fill) {
    QPainterPath path;
    path.addText(0, 0, WordFont(), text);
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty())
        return;
    const double scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(scale, scale);
    t.translate(-bounds.center().x(), -bounds.center().y());
    p.fillPath(t.map(path), fill);
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

template <UnitDraw draw> QPixmap Square(QSize size) {
    return Render(size, [](QPainter& p, const QRectF& r) { InUnitSquare(p, r, draw); });
}

} // namespace

QIcon PlayIcon() {
    return QIcon(new PaintedIconEngine(PlayGlyph));
}

QIcon PauseIcon() {
    return QIcon(new PaintedIconEngine(PauseGlyph));
}

QIcon StopIcon() {
    return QIcon(new PaintedIconEngine(StopGlyph));
}

QPixmap OpenFilePicture(QSize size) {
    return Square<FolderShape>(size);
}

QPixmap OpenUrlPicture(QSize size) {
    return Square<GlobeShape>(size);
}

QPixmap OnlinePicture(QSize size) {
    return Render(size, Logo);
}

QPixmap SettingsPicture(QSize size) {
    return Square<GearShape>(size);
}

QPixmap SkinPicture(QSize size) {
    return Square<PaletteShape>(size);
}

QPixmap BannerPicture(QSize size) {
    return Render(size, Banner);
}

} // namespace ovelo
