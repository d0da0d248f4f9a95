#include "platform/qt/QtAboutDialog.h"

#include <QLabel>
#include <QPushButton>

#include "platform/qt/QtDialogArt.h"
#include "platform/qt/QtDialogLayout.h"

namespace dz {

QtAboutDialog::QtAboutDialog(QWidget* parent, bool japanese) : QDialog(parent) {
    SetUpDialog(*this, 192, 65, "Dezidu について", "About Dezidu", japanese);
    auto* ok = PlaceControl(new QPushButton(QStringLiteral("OK"), this), 1, 71, 44, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* text =
        PlaceControl(new QLabel(QStringLiteral("Dezidu version 0.1"), this), 1002, 7, 28, 178, 8);
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* picture = PlaceControl(new QLabel(this), 110, 69, 7, 53, 12);
    picture->setPixmap(AboutPicture());
    picture->setFixedSize(80, 20);
}

}  // namespace dz
