#include "windows/addresswindow.h"

#include "layout/design.h"

#include <QLineEdit>
#include <QPushButton>

namespace ovelo {

AddressWindow::AddressWindow()
    : Form("Form2", tr("打开URL..."), 4680, 1515),
      address_(new QLineEdit(QStringLiteral("http://"), this)) {
    address_->setObjectName("Text1");
    auto* open = new QPushButton(tr("打开"), this);
    open->setObjectName("Command1");
    open->setDefault(true);
    connect(open, &QPushButton::clicked, this, [this] {
        emit addressChosen(address_->text());
        close();
    });
    connect(address_, &QLineEdit::returnPressed, open, &QPushButton::click);
    PlaceAndRecord(this, {{"Text1", 120, 210, 4335, 405}, {"Command1", 3120, 960, 1335, 375}});
    makeFixedSingle();
}

} // namespace ovelo
