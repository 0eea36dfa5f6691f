// A form as it was designed: its controls' rectangles in twips, one table per form. The fonts the
// design names are the style sheet's (the program's own look, or a skin's).
#pragma once

#include <QString>
#include <initializer_list>

class QWidget;

namespace ovelo {

struct DesignRect {
    const char* name; // the control's objectName
    int left, top, width, height;
};

// Gives a control its design name where it is made, the name its table row, the skins and the
// tests find it by.
template <typename Control> Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// Places each control of the table, found by name among the form's descendants, on its
// rectangle, then records the layout. A name the form does not have is logged and skipped.
void PlaceAndRecord(QWidget* form, std::initializer_list<DesignRect> table);

// Gives the form's inner area the design size in twips.
void SetClientSizeTwips(QWidget* form, int width, int height);

} // namespace ovelo
