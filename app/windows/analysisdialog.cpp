#include "windows/analysisdialog.h"

#include "layout/design.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace ovelo {

AnalysisDialog::AnalysisDialog() : Form("Form9", tr("网络视频分析"), 4755, 1740) {
    auto* frame = new QGroupBox(tr("视频地址"), this);
    frame->setObjectName("Frame1");
    // On the form over the frame, not inside it: the table's rectangles are the form's.
    address_ = new QLineEdit(QStringLiteral("http://"), this);
    address_->setObjectName("Text1");
    auto* start = new QPushButton(tr("开始分析"), this);
    start->setObjectName("Command1");
    start->setDefault(true);
    auto* cancel = new QPushButton(tr("取消"), this);
    cancel->setObjectName("Command2");
    connect(start, &QPushButton::clicked, this, [this] { emit analysisRequested(address()); });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    PlaceAndRecord(this, {{"Frame1", 120, 120, 4335, 735},
                          {"Text1", 240, 360, 4095, 375},
                          {"Command1", 480, 1080, 1335, 375},
                          {"Command2", 2760, 1080, 1335, 375}});
    makeFixedSingle();
}

QString AnalysisDialog::address() const {
    return address_->text();
}

void AnalysisDialog::setWaiting(bool waiting) {
    waiting_ = waiting;
    // The controls, not the window: Qt takes the pointer of a disabled window back to the
    // arrow, and the close box stays as a way out.
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        control->setEnabled(!waiting);
    if (waiting)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void AnalysisDialog::unloading() {
    if (waiting_)
        emit closedWhileWaiting();
}

} // namespace ovelo
