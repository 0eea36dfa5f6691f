// The text logo over the video: the maker's name twice, red under light yellow.
#pragma once

#include "product.h"

#include <QRegion>
#include <QWidget>

class QLabel;

namespace flv {

class Logo : public QWidget {
    Q_OBJECT
  public:
    explicit Logo(QWidget* parent = nullptr);
    // Font size of both captions in points; the logo takes the size of the first caption.
    void SetSize(int New_Size);
    int FontSize() const { return fontSize_; }
    // The font size for a control of the given height in twips: height / 500, halves to even.
    static int SizeForHeight(double heightTwips);
    // Over a picture that is a window of its own the captions become windows too, shaped to
    // their letters: without a compositor nothing else can show through between them.
    void SetAboveWindows(bool on);

    static constexpr const char* kCaption = ovelo::kMakerName;

  protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void shapeToLetters();
    // Before the captions: making them sends this widget events that read it.
    bool aboveWindows_ = false;
    QRegion backLetters_, frontLetters_; // where each caption's letters are, when shaped
    QLabel* backText_;
    QLabel* frontText_;
    int fontSize_ = 0;
};

} // namespace flv
