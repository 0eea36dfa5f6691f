// A form as it was designed: its controls' rectangles in twips, one table per form, and the
// fonts the design names, with the CJK fonts that stand in where those are not installed.
#pragma once

#include <QFont>
#include <QStringList>
#include <initializer_list>

class QWidget;

namespace ovelo {

struct DesignRect {
    const char* name; // the control's objectName
    int left, top, width, height;
};

// Places each control of the table, found by name among the form's descendants, on its
// rectangle, then records the layout. A name the form does not have is logged and skipped.
void PlaceAndRecord(QWidget* form, std::initializer_list<DesignRect> table);

// Gives the form's inner area the design size in twips.
void SetClientSizeTwips(QWidget* form, int width, int height);

// "微软雅黑" and "宋体" as the design names them, each followed by its installed stand-ins.
QStringList YaHeiFamilies();
QStringList SongTiFamilies();
QFont DesignFont(const QStringList& families, double points, bool bold = false);

} // namespace ovelo
