#pragma once
// About (template 108, 192 x 65 dialog units): the program's picture, its name and
// version, OK.

#include <QDialog>

namespace dz {

class QtAboutDialog : public QDialog {
public:
    QtAboutDialog(QWidget* parent, bool japanese);
};

}  // namespace dz
