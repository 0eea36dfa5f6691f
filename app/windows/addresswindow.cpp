#include "windows/addresswindow.h"

#include "layout/design.h"
#include "windows/mainaccess.h"

#include "flv/velmora.h"

#include <QLineEdit>
#include <QPushButton>

namespace ovelo {

AddressWindow::AddressWindow(MainAccess& main)
    : Form("Form2", QStringLiteral("打开URL..."), 4680, 1515), main_(main),
      text1_(new QLineEdit(QStringLiteral("http://"), this)) {
    text1_->setObjectName("Text1");
    auto* open = new QPushButton(QStringLiteral("打开"), this);
    open->setObjectName("Command1");
    open->setDefault(true);
    connect(open, &QPushButton::clicked, this, &AddressWindow::open);
    connect(text1_, &QLineEdit::returnPressed, open, &QPushButton::click);
    PlaceAndRecord(this, {{"Text1", 120, 210, 4335, 405}, {"Command1", 3120, 960, 1335, 375}});
    makeFixedSingle();
}

void AddressWindow::open() {
    // Exactly as typed: blanks and a bare "http://" are the player's to judge.
    main_.mainPlayer().PlayMovie(text1_->text());
    close();
}

} // namespace ovelo
