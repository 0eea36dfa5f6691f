// Guards for the skin engine's process-wide state, as testguards.h has for the rest: each puts
// back what was there when it goes.
#pragma once

#include "skins/skinengine.h"

#include <QApplication>

namespace ovelo::testing {

// The skin engine's look: the skin it holds and the application's style sheet, as they were.
class LookGuard {
  public:
    LookGuard() : skin_(AttachedSkin()), sheet_(qApp->styleSheet()) {}
    ~LookGuard() {
        if (!skin_.isEmpty() && SkinH_AttachEx(skin_, QString()) == SkinDone)
            return;
        AttachProgramLook();
        // No look yet, or a skin whose file the test has removed since: the sheet as it was.
        if (qApp->styleSheet() != sheet_)
            qApp->setStyleSheet(sheet_);
    }
    Q_DISABLE_COPY_MOVE(LookGuard)

  private:
    QString skin_;
    QString sheet_;
};

// The engine's glass, on while the guard lives. The program starts without it and the engine
// cannot be asked, so off is what the guard puts back.
class GlassOn {
  public:
    GlassOn() : result_(SkinH_SetAero(1)) {}
    ~GlassOn() { SkinH_SetAero(0); }
    Q_DISABLE_COPY_MOVE(GlassOn)
    int result() const { return result_; }

  private:
    int result_;
};

} // namespace ovelo::testing
