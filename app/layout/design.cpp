#include "layout/design.h"

#include "layout/layout.h"

#include <QLoggingCategory>
#include <QWidget>
#include <cmath>

Q_LOGGING_CATEGORY(lcDesign, "ovelo.layout", QtWarningMsg)

namespace ovelo {

void PlaceAndRecord(QWidget* form, std::initializer_list<DesignRect> table) {
    for (const DesignRect& r : table) {
        auto* control = form->findChild<QWidget*>(QString::fromLatin1(r.name));
        if (!control) {
            qCWarning(lcDesign) << form->objectName() << "has no control" << r.name;
            continue;
        }
        PlaceInTwips(control, r.left, r.top, r.width, r.height);
    }
    resizeinit(form);
}

void SetClientSizeTwips(QWidget* form, int width, int height) {
    form->resize(int(std::lround(width / TwipsPerPixelX(form))),
                 int(std::lround(height / TwipsPerPixelY(form))));
}

QStringList YaHeiFamilies() {
    return {QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
            QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")};
}

QStringList SongTiFamilies() {
    return {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
            QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Serif CJK SC")};
}

QFont DesignFont(const QStringList& families, double points, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace ovelo
