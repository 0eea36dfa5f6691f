#include "windows/form.h"

#include "layout/design.h"
#include "platform/caption.h"

#include <QCloseEvent>

namespace ovelo {

Form::Form(const char* name, const QString& caption, int width, int height)
    : QWidget(nullptr, Qt::Window) {
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_DeleteOnClose);
    // A skin's background for the window is drawn, not only its controls'.
    setAttribute(Qt::WA_StyledBackground);
    SetCaption(this, caption);
    SetClientSizeTwips(this, width, height);
}

void Form::makeFixedSingle() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
}

void Form::closeEvent(QCloseEvent* event) {
    unloading();
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit unloaded();
}

} // namespace ovelo
