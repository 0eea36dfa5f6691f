// The main window's button images and idle-screen pictures, drawn rather than loaded, so they
// stay sharp at any size and device pixel ratio. All of them read on a black video background.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace ovelo {

// Scalable icons: drawn afresh at whatever size and ratio a button asks for; dimmed when disabled.
QIcon PlayIcon();
QIcon PauseIcon();
QIcon StopIcon();

// Transparent pictures of the given size in device-independent pixels, drawn at the
// application's device pixel ratio.
QPixmap OpenFilePicture(QSize size);
QPixmap OpenUrlPicture(QSize size);
QPixmap OnlinePicture(QSize size);
QPixmap SettingsPicture(QSize size);
QPixmap SkinPicture(QSize size);
QPixmap BannerPicture(QSize size);

} // namespace ovelo
