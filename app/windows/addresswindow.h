// Form2, "打开URL...": plays an address the user types.
#pragma once

#include "windows/form.h"

class QLineEdit;

namespace ovelo {

class MainAccess;

class AddressWindow : public Form {
    Q_OBJECT
  public:
    explicit AddressWindow(MainAccess& main);

  private:
    void open();

    MainAccess& main_;
    QLineEdit* text1_;
};

} // namespace ovelo
