#include "platform/qt/QtDialogLayout.h"

#include <algorithm>

#include "platform/qt/QtDialogArt.h"

namespace dz {

QRect DialogUnits(int x, int y, int width, int height) {
    return QRect(x * 6 / 4, y * 13 / 8, width * 6 / 4, height * 13 / 8);
}

void SetUpDialog(QDialog& dialog, int width, int height, const char* japanese_title,
                 const char* english_title, bool japanese) {
    dialog.setFixedSize(DialogUnits(0, 0, width, height).size());
    dialog.setWindowTitle(Choose(japanese, japanese_title, english_title));
    dialog.setWindowIcon(ProgramIcon());
    dialog.setModal(true);
    QFont font = dialog.font();
    font.setPointSize(8);
    dialog.setFont(font);
}

void FitLabel(QLabel& label) {
    if (label.text().isEmpty()) return;
    const QSize need = label.sizeHint();
    label.resize(std::max(label.width(), need.width()), std::max(label.height(), need.height()));
}

}  // namespace dz
