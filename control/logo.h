// The text logo over the video: the maker's name twice, red under light yellow.
#pragma once

#include "product.h"

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

    static constexpr const char* kCaption = ovelo::kMakerName;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    QLabel* backText_;
    QLabel* frontText_;
    int fontSize_ = 0;
};

} // namespace flv
