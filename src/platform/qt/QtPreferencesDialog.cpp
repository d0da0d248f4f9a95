#include "platform/qt/QtPreferencesDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <charconv>

#include "platform/PreferenceChoices.h"
#include "platform/qt/QtDialogLayout.h"

namespace dz {

namespace {

constexpr int kListIds[4] = {kListChannels, kListBits, kListSampleRate, kListDevice};
constexpr int kMaxBufferText = 15;

struct Label {
    int id;
    int x, y, width, height;
    const char* japanese;
    const char* english;
};

// The labels left of the lists start at x 27, which leaves room for the longest
// Japanese label in the dialog font.
constexpr Label kLabels[] = {
    {1010, 27, 42, 47, 8, "チャンネル", "Channel"},
    {1011, 27, 57, 47, 8, "サンプルビット", "Bit/Sample"},
    {1012, 27, 72, 47, 8, "秒間サンプル", "Sample/Sec"},
    {1013, 27, 87, 47, 8, "デバイス", "Device"},
    {1014, 27, 102, 47, 8, "バッファ", "Buffer"},
    {1015, 124, 102, 47, 8, "秒", "sec"},
    {1017, 27, 117, 47, 8, "出力先", "Output"},
    {1018, 27, 136, 47, 8, "ループ回数", "Loops"},
    {1019, 130, 136, 47, 8, "フェード", "Fade-out"},
    {1022, 222, 136, 20, 8, "秒", "sec"},
    {1002, 7, 7, 103, 8, "≪環境設定≫", "== Config =="},
};

int FieldOf(const PreferenceValues& v, int list) {
    switch (list) {
        case kListChannels:
            return v.channels;
        case kListBits:
            return v.bits;
        case kListSampleRate:
            return v.sample_rate;
        default:
            return v.direct_sound ? 1 : 0;
    }
}

void SetField(PreferenceValues& v, int list, int value) {
    switch (list) {
        case kListChannels:
            v.channels = value;
            break;
        case kListBits:
            v.bits = value;
            break;
        case kListSampleRate:
            v.sample_rate = value;
            break;
        default:
            v.direct_sound = value != 0;
            break;
    }
}

QString BufferText(float seconds) {
    return QString::asprintf("%.2f", static_cast<double>(seconds));
}

}  // namespace

float BufferSecondsOf(const std::string& full) {
    std::string text = full.substr(0, kMaxBufferText);
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) return 0.0f;
    if (text[i] == '+') ++i;
    float value = 0.0f;
    std::from_chars_result r = std::from_chars(text.data() + i, text.data() + text.size(), value);
    return r.ec == std::errc() ? value : 0.0f;
}

QtPreferencesDialog::QtPreferencesDialog(QWidget* parent, const PreferenceValues& current,
                                         bool japanese)
    : QDialog(parent), current_(current) {
    SetUpDialog(*this, 316, 182, "設定", "Preferences", japanese);
    for (const Label& l : kLabels) {
        PlaceControl(new QLabel(Choose(japanese, l.japanese, l.english), this), l.id, l.x, l.y,
                     l.width, l.height);
    }
    for (int k = 0; k < 4; ++k) {
        const int list = kListIds[k];
        // The template's drop-down rectangles are 93 x 152 with the list open; closed they
        // are one row (14 units) high.
        QComboBox* box = PlaceControl(new QComboBox(this), list, 82, 40 + 15 * k, 93, 14);
        for (const PreferenceChoice& c : preference_choices()) {
            if (c.list == list)
                box->insertItem(c.position, Choose(japanese, c.japanese, c.english), c.value);
        }
        box->setCurrentIndex(
            ChoicePosition(list, FieldOf(current, list), DefaultChoicePosition(list)));
        lists_[static_cast<std::size_t>(k)] = box;
    }
    buffer_ = PlaceControl(new QLineEdit(BufferText(current.buffer_seconds), this), 1009, 82, 100,
                           40, 14);
    buffer_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    output_ = PlaceControl(new QComboBox(this), kListOutput, 82, 115, 227, 14);
    output_->addItem(Choose(japanese, kDefaultOutputJa, kDefaultOutputEn), QByteArray());
    bool listed = current.device.empty();
    for (const std::string& name : current.device_choices) {
        output_->addItem(QString::fromStdString(name), QByteArray::fromStdString(name));
        listed = listed || name == current.device;
    }
    // A stored device that is away now stays the choice until another is made.
    if (!listed)
        output_->addItem(QString::fromStdString(current.device),
                         QByteArray::fromStdString(current.device));
    output_->setCurrentIndex(
        std::max(0, output_->findData(QByteArray::fromStdString(current.device))));

    loops_ = PlaceControl(new QSpinBox(this), kFieldLoops, 82, 134, 40, 14);
    loops_->setRange(kMinLoops, kMaxLoops);
    loops_->setValue(current.play_loops);
    fade_ = PlaceControl(new QSpinBox(this), kFieldFade, 178, 134, 40, 14);
    fade_->setRange(kMinFadeSeconds, kMaxFadeSeconds);
    fade_->setValue(current.fade_seconds);

    auto* defaults = PlaceControl(new QPushButton(Choose(japanese, "初期値", "Default"), this),
                                  1008, 7, 161, 66, 14);
    connect(defaults, &QPushButton::clicked, this, [this] { restore_defaults(); });
    auto* ok =
        PlaceControl(new QPushButton(Choose(japanese, "OK(&O)", "Ok"), this), 1, 205, 161, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = PlaceControl(new QPushButton(Choose(japanese, "キャンセル(&C)", "Cancel"), this),
                                2, 259, 161, 50, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

PreferenceValues QtPreferencesDialog::values() const {
    PreferenceValues v = current_;
    for (int k = 0; k < 4; ++k) {
        const int list = kListIds[k];
        const int position = lists_[static_cast<std::size_t>(k)]->currentIndex();
        if (position >= 0) SetField(v, list, ChoiceValue(list, position, FieldOf(v, list)));
    }
    v.buffer_seconds = BufferSecondsOf(buffer_->text().toUtf8().toStdString());
    v.device = output_->currentData().toByteArray().toStdString();
    v.play_loops = loops_->value();
    v.fade_seconds = fade_->value();
    return v;
}

void QtPreferencesDialog::restore_defaults() {
    for (int k = 0; k < 4; ++k)
        lists_[static_cast<std::size_t>(k)]->setCurrentIndex(DefaultChoicePosition(kListIds[k]));
    buffer_->setText(QStringLiteral("0.10"));
    output_->setCurrentIndex(0);
    loops_->setValue(kDefaultLoops);
    fade_->setValue(kDefaultFadeSeconds);
}

}  // namespace dz
