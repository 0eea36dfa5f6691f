// Form10, the finder window: asks the parsing service for the video behind a page address, and
// offers the address it finds to play or to copy. It is made hidden and asks at once; it shows
// itself with the answer, found or not found.
#pragma once

#include "windows/form.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace ovelo {

class WebFetch;
struct FetchResult;

class FinderWindow : public Form {
    Q_OBJECT
  public:
    FinderWindow();

    // Asks the service about the page at `pageAddress`.
    void ask(const QString& pageAddress);
    // The query sent to the service, and the page it answered, decoded.
    QString queryAddress() const { return queryAddress_; }
    QString pageText() const { return pageText_; }
    // Still waiting for the service: the window has not shown itself yet.
    bool asking() const { return fetch_ != nullptr; }

  signals:
    // The window shows the answer: a video address, or none.
    void answered(bool found);
    // Closed before the service answered.
    void questionWithdrawn();
    // 播放: the address in the box, as the user may have edited it.
    void addressChosen(const QString& address);

  protected:
    void unloading() override;

  private:
    void build();
    void onAnswer(const FetchResult& answer);
    // The last video address of the page; "" when it has none.
    QString analyse();
    void showFound(const QString& address);
    void play();
    void copy();

    QPlainTextEdit* addressBox_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    // The read of the service's answer, a child of this window; null once it has answered.
    WebFetch* fetch_ = nullptr;
    // Kept as text, not in hidden text boxes: a page can be megabytes long.
    QString pageText_;
    QString queryAddress_;
};

} // namespace ovelo
