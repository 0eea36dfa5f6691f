// Form5, "关于": the about box.
#pragma once

#include "windows/form.h"

namespace ovelo {

class AboutWindow : public Form {
    Q_OBJECT
  public:
    AboutWindow();

    static QString NoticeText();
};

} // namespace ovelo
