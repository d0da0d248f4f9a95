#pragma once
// Helpers for dialogs laid out like resource templates: positions and sizes in dialog
// units of an 8-point dialog font, whose base units are 6 x 13 pixels (a dialog unit is
// 6/4 pixels across and 13/8 pixels down). Controls are named after their template ids
// (objectName "1004"), so tests find them.

#include <QDialog>
#include <QLabel>
#include <QRect>
#include <QString>
#include <type_traits>

namespace dz {

QRect DialogUnits(int x, int y, int width, int height);

// Fixed size, title in the run's language, the program's icon, modal to `dialog`'s parent.
void SetUpDialog(QDialog& dialog, int width, int height, const char* japanese_title,
                 const char* english_title, bool japanese);

// Grows a label whose text needs more room than its rectangle to the size its text
// needs in the dialog's font; the top-left corner stays.
void FitLabel(QLabel& label);

// Places `widget` at a template rectangle and names it after its control id. A label
// gets at least the room its text needs (the template's sizes are made for another
// font).
template <class Widget>
Widget* PlaceControl(Widget* widget, int id, int x, int y, int width, int height) {
    widget->setObjectName(QString::number(id));
    widget->setGeometry(DialogUnits(x, y, width, height));
    if constexpr (std::is_base_of_v<QLabel, Widget>) FitLabel(*widget);
    return widget;
}

inline QString Choose(bool japanese, const char* ja, const char* en) {
    return QString::fromUtf8(japanese ? ja : en);
}

}  // namespace dz
