#pragma once
// File Info (template 105, 316 x 182 dialog units): read-only fields of one tune.
//
//   1015 path   1016 name   1017 beats   1018 tempo   1019 measures   1027 comment
//   labels 1020 Name, 1021 Beat, 1022 Beat Tempo, 1023 Meas Num, 1028 Comment; 1 OK

#include <QDialog>

#include "platform/Dialogs.h"

namespace dz {

class QtFileInfoDialog : public QDialog {
public:
    QtFileInfoDialog(QWidget* parent, const FileInfoText& info, bool japanese);
};

}  // namespace dz
