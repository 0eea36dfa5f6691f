// What the playback controller may do with the main window it serves: the window draws, the
// controller decides.
#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QScreen;

namespace ovelo {

class MainView {
  public:
    virtual ~MainView() = default;
    // The start-up's first step: the controls' design rectangles against the window's size.
    virtual void recordLayout() = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void focusVideo() = 0;
    virtual int volumeSliderValue() const = 0;
    virtual void setVolumeSliderValue(int value) = 0;
    virtual void setSeekSliderValue(int value) = 0;
    // The pictures of the idle screen, shown while nothing plays.
    virtual void setIdleScreenShown(bool shown) = 0;
    virtual void showAndFocus() = 0;
    virtual void setWindowShown(bool shown) = 0;
    virtual bool windowShown() const = 0;
    virtual QScreen* windowScreen() const = 0;
    // The window's outer size in twips, as the close writes keep it.
    virtual QSize outerSizeTwips() const = 0;
    // Asks the user for a file to open; `chosen` gets "" when the user cancels.
    virtual void chooseFile(std::function<void(const QString&)> chosen) = 0;
    // A refusal, with the error icon and the title "警告".
    virtual void refuse(const QString& text) = 0;
    virtual void closeWindow() = 0;
};

} // namespace ovelo
