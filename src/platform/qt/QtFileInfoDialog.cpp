#include "platform/qt/QtFileInfoDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/qt/QtDialogLayout.h"

namespace dz {

namespace {

struct Field {
    int id;
    int x, y, width, height;
    bool right_aligned;
};

struct Label {
    int id;
    int x, y, width, height;
    const char* japanese;
    const char* english;
};

constexpr Label kLabels[] = {
    {1020, 7, 27, 51, 13, "名前", "Name"},
    {1021, 7, 46, 51, 13, "拍子", "Beat"},
    {1022, 7, 65, 51, 13, "ビートテンポ", "Beat Tempo"},
    {1023, 7, 84, 51, 13, "小節数", "Meas Num"},
    {1028, 7, 102, 51, 13, "コメント", "Comment"},
    {1030, 112, 46, 51, 13, "長さ", "Length"},
    {1031, 112, 65, 51, 13, "形式", "Format"},
};

QString Text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

QtFileInfoDialog::QtFileInfoDialog(QWidget* parent, const FileInfoText& info, bool japanese)
    : QDialog(parent) {
    SetUpDialog(*this, 316, 182, "ファイル情報", "File Info", japanese);
    const std::pair<Field, const std::string*> fields[] = {
        {{1015, 7, 7, 302, 14, false}, &info.path},
        {{1016, 57, 26, 154, 14, false}, &info.name},
        {{1017, 57, 46, 43, 13, true}, &info.beats},
        {{1018, 57, 64, 43, 14, true}, &info.tempo},
        {{1019, 57, 83, 43, 14, true}, &info.measures},
        {{1032, 166, 45, 43, 14, true}, &info.length},
        {{1033, 166, 64, 43, 14, true}, &info.format},
    };
    for (const auto& [f, value] : fields) {
        auto* edit =
            PlaceControl(new QLineEdit(Text(*value), this), f.id, f.x, f.y, f.width, f.height);
        edit->setReadOnly(true);
        edit->setCursorPosition(0);
        if (f.right_aligned) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    auto* comment = PlaceControl(new QPlainTextEdit(this), 1027, 57, 102, 252, 54);
    comment->setPlainText(Text(info.comment));
    comment->setReadOnly(true);
    comment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (const Label& l : kLabels) {
        PlaceControl(new QLabel(Choose(japanese, l.japanese, l.english), this), l.id, l.x, l.y,
                     l.width, l.height);
    }
    auto* ok =
        PlaceControl(new QPushButton(Choose(japanese, "OK(&O)", "Ok"), this), 1, 133, 161, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace dz
