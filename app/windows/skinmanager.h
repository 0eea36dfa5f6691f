// Form4, 皮肤管理器: lists the skins of the Skin folder, applies one to the whole program at once
// and records it for the next start, and adds skin files to the folder. Always on top.
#pragma once

#include "windows/form.h"

#include <functional>

class QListWidget;
class QMenu;
class QPushButton;

namespace ovelo {

class SkinManager : public Form {
    Q_OBJECT
  public:
    // Asks for a skin file to add at once, instead of the dialog; "" when the user cancels.
    using FileChooser = std::function<QString(QWidget* parent)>;

    SkinManager();

    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    // The folder the list shows, under the program folder.
    static QString SkinFolder();

    // The message after an add; tests answer it.
    static constexpr const char* kAddedText = QT_TR_NOOP("添加成功!请重启此窗口!");

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    void refreshList();
    void applySelected();
    void chooseSkinFile();
    void addSkinFile(const QString& chosen);

    QListWidget* skinList_;
    QPushButton* applyButton_;
    QMenu* fileMenu_;
    FileChooser chooseFile_;
};

} // namespace ovelo
