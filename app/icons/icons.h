// The program's pictures, scalable so they stay sharp at any size and device pixel ratio. The
// main window's buttons and idle pictures are SVG files among the resources (":/pictures/play.svg",
// "pause", "stop", "openfile", "openurl", "settings", "skin"), which a skin may name or replace;
// the pictures with words in them are drawn. The main window's read on a black video background;
// each dialog's are noted below.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace ovelo {

// Icons drawn afresh at whatever size and ratio a button asks for, square in the middle of a wide
// box; dimmed when disabled.
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

// The about box's pictures, made to read on its white surface: the banner (drawn for about
// 425 x 137) and the small marks beside the origin notice and the web address.
QPixmap AboutBanner(QSize size);
QPixmap AboutNoticePicture(QSize size);
QPixmap AboutWebPicture(QSize size);

// The knowledge centre windows' banner (drawn for about 457 x 81): an opaque band, so it reads on
// any window background, naming the topic ("FLV", "F4V").
QPixmap KnowledgeBanner(QSize size, const QString& topic);
// The updater's banner, the same band with a download mark.
QPixmap UpdaterBanner(QSize size);

// The full-screen hint's pictures, made for its dark band: a key cap reading "Esc", and the
// close mark.
QPixmap HintKeyPicture(QSize size);
QPixmap HintClosePicture(QSize size);

} // namespace ovelo
