#include "platform/qt/QtAddUrlDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/QtDialogLayout.h"

namespace dz {

namespace {

constexpr int kMaxUrl = 259;
constexpr char kExample[] = "http://example.com/tune.ptcop";

}  // namespace

QtAddUrlDialog::QtAddUrlDialog(QWidget* parent, bool japanese) : QDialog(parent) {
    SetUpDialog(*this, 257, 73, "URL の追加", "Add URL", japanese);
    edit_ = PlaceControl(new QLineEdit(this), 1001, 7, 31, 228, 17);
    edit_->setMaxLength(kMaxUrl);
    auto* ok =
        PlaceControl(new QPushButton(Choose(japanese, "OK(&O)", "Open"), this), 1, 7, 52, 33, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = PlaceControl(new QPushButton(Choose(japanese, "キャンセル(&C)", "Cancel"), this),
                                2, 46, 52, 51, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    PlaceControl(
        new QLabel(Choose(japanese, "URLを入力して開きます", "Enter a URL to open here:"), this),
        1002, 7, 7, 163, 11);
    PlaceControl(
        new QLabel(Choose(japanese, "例: ", "For example: ") + QString::fromUtf8(kExample), this),
        1003, 7, 19, 154, 11);
    edit_->setFocus();
}

std::string QtAddUrlDialog::text() const {
    return edit_->text().left(kMaxUrl).toUtf8().toStdString();
}

}  // namespace dz
