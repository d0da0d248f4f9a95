#pragma once
// Add URL (template 101, 257 x 73 dialog units): 1001 the address (259 characters at
// most), 1002 and 1003 the prompt and an example, 1 Open, 2 Cancel.

#include <QDialog>
#include <string>

class QLineEdit;

namespace dz {

class QtAddUrlDialog : public QDialog {
public:
    QtAddUrlDialog(QWidget* parent, bool japanese);
    std::string text() const;  // UTF-8

private:
    QLineEdit* edit_;
};

}  // namespace dz
