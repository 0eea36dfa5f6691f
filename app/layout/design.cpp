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

} // namespace ovelo
