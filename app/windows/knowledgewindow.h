// Form7 and Form8, "知识中心": what Flv and F4v are.
#pragma once

#include "windows/form.h"

namespace ovelo {

class KnowledgeWindow : public Form {
    Q_OBJECT
  public:
    static KnowledgeWindow* AboutFlv();
    static KnowledgeWindow* AboutF4v();

    static QString FlvText();
    static QString F4vText();

  private:
    struct Topic {
        const char* name;   // the window's objectName
        const char* short_; // drawn in the banner
        QString title;
        int titleLeft; // twips
        QString text;
    };
    explicit KnowledgeWindow(const Topic& topic);
};

} // namespace ovelo
