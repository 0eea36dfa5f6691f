#include "mainwindow/statuspanels.h"

#include "layout/layout.h"

#include <QLabel>
#include <algorithm>
#include <cmath>

namespace ovelo {

StatusPanels::StatusPanels(const QList<int>& widthsTwips, QWidget* parent)
    : QFrame(parent), widths_(widthsTwips) {
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    for (int i = 0; i < widths_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        panels_ << label;
    }
}

QLabel* StatusPanels::panel(int panel) const {
    return panel >= 1 && panel <= panels_.size() ? panels_[panel - 1] : nullptr;
}

void StatusPanels::setPanelText(int panel, const QString& text) {
    if (QLabel* label = this->panel(panel); label && label->text() != text) {
        label->setText(text);
        placePanels();
    }
}

QString StatusPanels::panelText(int panel) const {
    const QLabel* label = this->panel(panel);
    return label ? label->text() : QString();
}

void StatusPanels::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placePanels();
}

void StatusPanels::placePanels() {
    const double twipsPerPixel = TwipsPerPixelX(this);
    QList<int> widths, needs;
    for (int i = 0; i < panels_.size(); ++i) {
        widths << int(std::lround(widths_[i] / twipsPerPixel));
        needs << panels_[i]->sizeHint().width();
    }
    int left = 0;
    for (int i = 0; i < panels_.size() && left < width(); ++i) {
        widths[i] = std::max(widths[i], needs[i]);
        int lacking = left + needs[i] - width();
        for (int before = 0; before < i && lacking > 0; ++before) {
            const int given = std::clamp(widths[before] - needs[before], 0, lacking);
            widths[before] -= given;
            left -= given;
            lacking -= given;
        }
        left += widths[i];
    }
    left = 0;
    for (int i = 0; i < panels_.size(); ++i) {
        panels_[i]->setGeometry(left, 0, widths[i], height());
        left += widths[i];
    }
}

} // namespace ovelo
