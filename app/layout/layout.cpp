#include "layout/layout.h"

#include <QLocale>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <array>
#include <cmath>

namespace ovelo {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;
const char kBaseWidth[] = "BaseScaleWidth";
const char kBaseHeight[] = "BaseScaleHeight";
const char kTag[] = "Tag";

using Fields = std::array<double, 5>;

double TwipsPerPixel(int dpi) {
    return kTwipsPerInch / (dpi > 0 ? dpi : kFallbackDpi);
}

// Halves go to even, as the program rounds everywhere else.
double RoundToInteger(double v) {
    return std::nearbyint(v);
}

// Nearest rather than truncation: at the design size a ratio a hair below 1 must still give back
// the design pixels.
bool ToPixels(double twips, double twipsPerPixel, int& pixels) {
    const double px = RoundToInteger(twips / twipsPerPixel);
    if (!std::isfinite(px) || std::abs(px) > QWIDGETSIZE_MAX)
        return false;
    pixels = static_cast<int>(px);
    return true;
}

// Child windows are placed on the screen, not in the window, so they have no rectangle here.
QList<QPointer<QWidget>> Controls(const QWidget* window) {
    QList<QPointer<QWidget>> controls;
    for (QObject* child : window->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isWindow())
            controls.append(w);
    }
    return controls;
}

QString RectangleText(const QWidget* w) {
    const double tx = TwipsPerPixelX(w);
    const double ty = TwipsPerPixelY(w);
    const QRect g = w->geometry();
    QString text;
    for (double twips : {g.x() * tx, g.y() * ty, g.width() * tx, g.height() * ty})
        text += QString::number(static_cast<qint64>(RoundToInteger(twips))) + u' ';
    return text;
}

// A field that is not a number keeps the value it held, like a skipped assignment; the fields
// live for the whole pass, so that value may be the previous control's.
void ReadFields(const QString& tag, Fields& fields) {
    const QLocale c = QLocale::c();
    qsizetype start = 0;
    for (double& field : fields) {
        const qsizetype space = tag.indexOf(u' ', start);
        if (space < 0) {
            field = 0;
            continue;
        }
        bool ok = false;
        const double value = c.toDouble(QStringView(tag).sliced(start, space - start), &ok);
        if (ok)
            field = value;
        start = space + 1;
    }
}

// A window recorded at size 0 gives no usable ratio; the ratio then stays 0.
double Ratio(double currentTwips, const QVariant& base) {
    const int recorded = base.toInt();
    return recorded != 0 ? currentTwips / recorded : 0.0;
}

} // namespace

double TwipsPerPixelX(const QWidget* widget) {
    return TwipsPerPixel(widget->logicalDpiX());
}

double TwipsPerPixelY(const QWidget* widget) {
    return TwipsPerPixel(widget->logicalDpiY());
}

void PlaceInTwips(QWidget* w, double left, double top, double width, double height) {
    if (!w || !(width >= 0) || !(height >= 0))
        return;
    const double tx = TwipsPerPixelX(w);
    const double ty = TwipsPerPixelY(w);
    int x = 0, y = 0, cx = 0, cy = 0;
    if (ToPixels(left, tx, x) && ToPixels(top, ty, y) && ToPixels(width, tx, cx) &&
        ToPixels(height, ty, cy))
        w->setGeometry(x, y, cx, cy);
}

void resizeinit(QWidget* window) {
    if (!window)
        return;
    const double width = window->width() * TwipsPerPixelX(window);
    const double height = window->height() * TwipsPerPixelY(window);
    window->setProperty(kBaseWidth, static_cast<qint32>(RoundToInteger(width)));
    window->setProperty(kBaseHeight, static_cast<qint32>(RoundToInteger(height)));
    for (const QPointer<QWidget>& control : Controls(window))
        if (control)
            control->setProperty(kTag, RectangleText(control));
}

void resizeform(QWidget* window) {
    if (!window)
        return;
    const double rx = Ratio(window->width() * TwipsPerPixelX(window), window->property(kBaseWidth));
    const double ry =
        Ratio(window->height() * TwipsPerPixelY(window), window->property(kBaseHeight));
    Fields fields{};
    for (const QPointer<QWidget>& control : Controls(window)) {
        const QVariant tag = control ? control->property(kTag) : QVariant();
        if (!tag.isValid())
            continue;
        ReadFields(tag.toString(), fields);
        PlaceInTwips(control, fields[0] * rx, fields[1] * ry, fields[2] * rx, fields[3] * ry);
    }
}

} // namespace ovelo
