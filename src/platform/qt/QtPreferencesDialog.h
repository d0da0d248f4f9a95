#pragma once
// Preferences (template 103, 316 x 182 dialog units): four drop-down lists filled from
// the choice table (1004 channels, 1005 bits, 1006 sample rate, 1007 device), 1009 the
// buffer in seconds, 1016 the output device ("Default", then the devices by name; label
// 1017, a row below the buffer, as wide as the dialog allows), 1020 the loops and 1021 the
// fade-out in seconds (spin boxes, labels 1018, 1019 and 1022, a row below the output),
// 1008 Default, 1 OK, 2 Cancel.

#include <QDialog>
#include <array>

#include "platform/Dialogs.h"

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace dz {

class QtPreferencesDialog : public QDialog {
public:
    QtPreferencesDialog(QWidget* parent, const PreferenceValues& current, bool japanese);

    // What OK stores: each list's value at its selected position (a list without a
    // choice keeps the value it opened with); the buffer text read as a decimal number,
    // 0 when it is none; the output device chosen ("" for Default).
    PreferenceValues values() const;
    // The Default button: the default position in every list, "0.10" in the buffer,
    // "Default" in the output list, 1 loop and no fade-out.
    void restore_defaults();

private:
    PreferenceValues current_;
    std::array<QComboBox*, 4> lists_{};  // 1004 ... 1007
    QLineEdit* buffer_ = nullptr;
    QComboBox* output_ = nullptr;  // item data: the device's name as bytes
    QSpinBox* loops_ = nullptr;
    QSpinBox* fade_ = nullptr;
};

// A buffer text as a number of seconds: leading blanks and a '+' are skipped, the
// longest decimal number that follows is taken; 0 when there is none. The text is read
// up to its 15th character.
float BufferSecondsOf(const std::string& text);

}  // namespace dz
