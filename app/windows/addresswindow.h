// Form2, "打开URL...": an address the user types, for the main player.
#pragma once

#include "windows/form.h"

class QLineEdit;

namespace ovelo {

class AddressWindow : public Form {
    Q_OBJECT
  public:
    AddressWindow();

  signals:
    // 打开: the address exactly as typed; blanks and a bare "http://" are the player's to judge.
    void addressChosen(const QString& address);

  private:
    QLineEdit* address_;
};

} // namespace ovelo
