// The dialogs driven headless: Preferences stores every choice of its table in the
// Property section and re-opens the library, Default restores the defaults, Cancel
// changes nothing; File Info shows Shift-JIS texts; Add URL hands its text to the URL
// path; Save Playlist adds the playlist extension; every label holds its text; the jump box
// filters as typed and plays the chosen entry.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/DialogHooks.h"
#include "app/commands/Commands.h"
#include "io/ProfileFile.h"
#include "io/Settings.h"
#include "platform/PreferenceChoices.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeWindowHost.h"
#include "platform/qt/QtAboutDialog.h"
#include "platform/qt/QtAddUrlDialog.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtFileInfoDialog.h"
#include "platform/qt/QtPreferencesDialog.h"
#include "state/TagUserData.h"

namespace dz {
namespace {

// Runs `act` on the next modal dialog once it is shown (the dialog's exec() is running).
void WhenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

template <class W>
W* Control(QWidget* dialog, int id) {
    W* w = dialog->findChild<W*>(QString::number(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
}

void Click(QWidget* dialog, int id) {
    if (auto* b = Control<QPushButton>(dialog, id)) b->click();
}

class QtDialogsTest : public ::testing::Test {
protected:
    QtDialogsTest() {
        char tmpl[] = "/tmp/dz_dialogs_XXXXXX";
        dir = mkdtemp(tmpl);
        d.services.dialogs = &dialogs;
        d.ini_path = (dir / "Dezidu.ini").string();
        InstallDialogHooks(d.hooks.commands);
    }
    ~QtDialogsTest() override { std::filesystem::remove_all(dir); }

    PropertyValues StoredProperty() {
        PropertyValues v;
        v.channels = v.bits_per_sample = v.sample_rate = v.direct_sound = -1;
        read_property_section(ProfileFile::load_or_empty(d.ini_path), v);
        return v;
    }

    std::filesystem::path dir;
    FakeWindowHost host;  // this thread is its UI thread: calls run at once
    FakeAudioLibrary lib;
    QtDialogs dialogs{nullptr, false};
    TAG_USERDATA d{&host, lib};
};

TEST_F(QtDialogsTest, PreferencesStoresEveryChoiceOfTheTable) {
    for (const PreferenceChoice& c : preference_choices()) {
        WhenModal([&](QWidget* dialog) {
            Control<QComboBox>(dialog, c.list)->setCurrentIndex(c.position);
            Control<QLineEdit>(dialog, 1009)->setText(QStringLiteral("0.25"));
            Click(dialog, 1);
        });
        d.hooks.commands.preferences_dialog(d);
        PropertyValues v = StoredProperty();
        const int stored[] = {v.channels, v.bits_per_sample, v.sample_rate, v.direct_sound};
        EXPECT_EQ(stored[c.list - kListChannels], c.value) << c.english;
        EXPECT_FLOAT_EQ(v.buffer_seconds, 0.25f);
        const int in_library[] = {lib.format.channels, lib.format.bits, lib.format.sample_rate,
                                  lib.format.direct_sound ? 1 : 0};
        EXPECT_EQ(in_library[c.list - kListChannels], c.value) << "pxtone_Reset " << c.english;
    }
}

TEST_F(QtDialogsTest, PreferencesDefaultRestoresTheDefaultsAndCancelChangesNothing) {
    d.player.channels = 1;
    d.player.bits_per_sample = 8;
    d.player.sample_rate = 32000;  // no row: opens at the default position
    d.player.direct_sound = 0;
    d.player.buffer_seconds = 0.5f;
    lib.take_calls();

    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(Control<QComboBox>(dialog, kListChannels)->currentText(), "mono");
        EXPECT_EQ(Control<QComboBox>(dialog, kListSampleRate)->currentText(), "44100Hz");
        EXPECT_EQ(Control<QLineEdit>(dialog, 1009)->text(), "0.50");
        Click(dialog, 1008);
        Click(dialog, 2);
    });
    d.hooks.commands.preferences_dialog(d);
    EXPECT_FALSE(std::filesystem::exists(d.ini_path)) << "Cancel writes nothing";
    EXPECT_EQ(d.player.channels, 1);
    EXPECT_FLOAT_EQ(d.player.buffer_seconds, 0.5f);
    EXPECT_TRUE(lib.take_calls().empty()) << "Cancel does not re-open the library";

    WhenModal([&](QWidget* dialog) {
        Click(dialog, 1008);
        Click(dialog, 1);
    });
    d.hooks.commands.preferences_dialog(d);
    PropertyValues v = StoredProperty();
    EXPECT_EQ(v.channels, 2);
    EXPECT_EQ(v.bits_per_sample, 16);
    EXPECT_EQ(v.sample_rate, 44100);
    EXPECT_EQ(v.direct_sound, 1);
    EXPECT_FLOAT_EQ(v.buffer_seconds, 0.1f);

    // A buffer text that is no number is stored as 0 seconds.
    WhenModal([&](QWidget* dialog) {
        Control<QLineEdit>(dialog, 1009)->setText(QStringLiteral("abc"));
        Click(dialog, 1);
    });
    d.hooks.commands.preferences_dialog(d);
    EXPECT_FLOAT_EQ(StoredProperty().buffer_seconds, 0.0f);
    EXPECT_FLOAT_EQ(BufferSecondsOf(" +1.5sec"), 1.5f);
}

// Loops and fade-out: the fields open with the player's values, OK hands changes to the
// player and the library and writes them to the Setting section, Default gives 1 and 0.
TEST_F(QtDialogsTest, PreferencesSetsTheLoopsAndTheFadeOut) {
    d.player.set_play_plan(3, 4);
    WhenModal([&](QWidget* dialog) {
        EXPECT_EQ(Control<QSpinBox>(dialog, kFieldLoops)->value(), 3);
        EXPECT_EQ(Control<QSpinBox>(dialog, kFieldFade)->value(), 4);
        Control<QSpinBox>(dialog, kFieldLoops)->setValue(120);  // beyond the range: 99
        Control<QSpinBox>(dialog, kFieldFade)->setValue(7);
        Click(dialog, 1);
    });
    d.hooks.commands.preferences_dialog(d);
    EXPECT_EQ(d.player.play_loops, 99);
    EXPECT_EQ(lib.loops, 99);
    EXPECT_EQ(lib.fade_seconds, 7);
    SettingValues stored;
    read_setting_section(ProfileFile::load_or_empty(d.ini_path), stored);
    EXPECT_EQ(stored.play_loops, 99);
    EXPECT_EQ(stored.fade_seconds, 7);

    WhenModal([&](QWidget* dialog) {
        Click(dialog, 1008);
        EXPECT_EQ(Control<QSpinBox>(dialog, kFieldLoops)->value(), 1);
        EXPECT_EQ(Control<QSpinBox>(dialog, kFieldFade)->value(), 0);
        Click(dialog, 1);
    });
    d.hooks.commands.preferences_dialog(d);
    EXPECT_EQ(lib.loops, 1);
    EXPECT_EQ(lib.fade_seconds, 0);
}

// The output list: Default, the library's devices, and a stored device that is away now
// (kept until another is chosen). The choice is stored as Device= and reopens the library.
TEST_F(QtDialogsTest, PreferencesChoosesTheOutputDeviceByName) {
    lib.devices = {"Card A", "USB Headset"};
    d.player.device = "Gone Card";
    QStringList offered;
    WhenModal([&](QWidget* dialog) {
        auto* list = Control<QComboBox>(dialog, kListOutput);
        for (int i = 0; i < list->count(); ++i) offered << list->itemText(i);
        EXPECT_EQ(list->currentText(), "Gone Card");
        Click(dialog, 1);
    });
    d.hooks.commands.preferences_dialog(d);
    EXPECT_EQ(offered, QStringList({"Default", "Card A", "USB Headset", "Gone Card"}));
    EXPECT_EQ(StoredProperty().device, "Gone Card");

    WhenModal([&](QWidget* dialog) {
        Control<QComboBox>(dialog, kListOutput)->setCurrentIndex(2);
        Click(dialog, 1);
    });
    d.hooks.commands.preferences_dialog(d);
    EXPECT_EQ(StoredProperty().device, "USB Headset");
    EXPECT_EQ(lib.format.device, "USB Headset");

    WhenModal([&](QWidget* dialog) {
        Click(dialog, 1008);
        Click(dialog, 1);
    });
    d.hooks.commands.preferences_dialog(d);
    EXPECT_EQ(StoredProperty().device, "");
    EXPECT_EQ(lib.format.device, "");
}

TEST_F(QtDialogsTest, FileInfoShowsShiftJisNameAndCommentInBothLanguages) {
    tagTUNEINFO e;
    e.info_loaded = 1;
    e.path = "/tunes/a.ptcop";
    e.name = "\x83\x65\x83\x58\x83\x67";                                 // テスト
    e.comment = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\r\n\x82\xa0";  // こんにちは / あ
    e.tempo = 128.0f;
    d.player.current_tune = e;
    d.player.add_entry(e.path, std::nullopt, 0);

    for (int japanese : {0, 1}) {
        d.japanese = japanese;
        WhenModal([&](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle(), japanese ? "ファイル情報" : "File Info");
            EXPECT_EQ(Control<QLineEdit>(dialog, 1016)->text(), QStringLiteral("テスト"));
            EXPECT_EQ(Control<QLineEdit>(dialog, 1018)->text(), QStringLiteral("128"));
            EXPECT_EQ(Control<QPlainTextEdit>(dialog, 1027)->toPlainText(),
                      QStringLiteral("こんにちは\nあ"));
            EXPECT_TRUE(Control<QLineEdit>(dialog, 1016)->isReadOnly());
            Click(dialog, 1);
        });
        d.hooks.commands.file_info_dialog(d);
    }
}

TEST_F(QtDialogsTest, AddUrlHandsTheTextToTheUrlPath) {
    std::vector<std::string> added;
    d.hooks.commands.add_paths = [&](TAG_USERDATA&, const std::vector<std::string>& paths) {
        added.insert(added.end(), paths.begin(), paths.end());
        return true;
    };
    WhenModal([&](QWidget* dialog) {
        Control<QLineEdit>(dialog, 1001)->setText(QStringLiteral("http://example.com/x.ptcop"));
        Click(dialog, 1);
    });
    cmd_add_url(&d);
    EXPECT_EQ(added, std::vector<std::string>{"http://example.com/x.ptcop"});

    WhenModal([&](QWidget* dialog) {
        Control<QLineEdit>(dialog, 1001)->setText(QStringLiteral("http://example.com/y.ptcop"));
        Click(dialog, 2);
    });
    cmd_add_url(&d);
    EXPECT_EQ(added.size(), 1u) << "Cancel adds nothing";
}

// A key typed into a widget, with its text (QTest cannot send non-ASCII text).
void Type(QWidget* widget, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
}

void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) Type(widget, 0, QString(c));
}

// The rows the jump box lists (UTF-8), the chosen one first.
std::vector<std::string> JumpRows(QWidget* dialog) {
    auto* list = Control<QListView>(dialog, 1002);
    std::vector<std::string> rows{list->currentIndex().data().toString().toStdString()};
    for (int r = 0; r < list->model()->rowCount(); ++r)
        rows.push_back(list->model()->index(r, 0).data().toString().toStdString());
    return rows;
}

// Typing filters titles and file names without regard to case, width or kana form; Up and
// Down in the text field choose; Enter plays the chosen entry, Escape nothing.
TEST_F(QtDialogsTest, JumpBoxFiltersAsTypedAndPlaysTheChosenEntry) {
    const std::pair<const char*, const char*> tunes[] = {
        {"/t/boss.ptcop", "Battle Theme"},
        {"/t/village.ptcop", "\x82\xde\x82\xe7\x82\xcc\x89\xcc"},  // むらの歌
        {"/t/Field.pttune", ""},
        {"/t/night.ptcop", "\xb6\xc0\xb6\xc5 BATTLE"},  // ｶﾀｶﾅ BATTLE (half-width)
    };
    for (const auto& [path, name] : tunes) {
        lib.tunes[path].name = name;
        d.player.load_entry(d.player.add_entry(path, std::nullopt, 0));
    }
    d.player.play(2, 0);
    using Rows = std::vector<std::string>;
    const std::string all[] = {"Battle Theme  (boss.ptcop)", "むらの歌  (village.ptcop)",
                               "Field  (Field.pttune)", "ｶﾀｶﾅ BATTLE  (night.ptcop)"};

    for (int japanese : {0, 1}) {
        d.japanese = japanese;
        WhenModal([&](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle(), japanese ? "曲へジャンプ" : "Jump to Tune");
            auto* edit = Control<QLineEdit>(dialog, 1001);
            EXPECT_EQ(dialog->focusWidget(), edit);
            EXPECT_EQ(JumpRows(dialog), (Rows{all[2], all[0], all[1], all[2], all[3]}))
                << "all entries, the current one chosen";
            TypeText(edit, "bAt");
            EXPECT_EQ(JumpRows(dialog), (Rows{all[0], all[0], all[3]}));
            edit->clear();
            TypeText(edit, "カタ");  // full-width: finds the half-width name
            EXPECT_EQ(JumpRows(dialog), (Rows{all[3], all[3]}));
            edit->clear();
            TypeText(edit, "ＦＩＥ");  // full-width Latin
            EXPECT_EQ(JumpRows(dialog), (Rows{all[2], all[2]}));
            edit->clear();
            TypeText(edit, "の歌");
            EXPECT_EQ(JumpRows(dialog), (Rows{all[1], all[1]}));
            edit->clear();
            TypeText(edit, ".PTCOP");  // file names too
            EXPECT_EQ(JumpRows(dialog), (Rows{all[0], all[0], all[1], all[3]}));
            Type(edit, Qt::Key_Down);
            Type(edit, Qt::Key_Down);
            Type(edit, Qt::Key_Down);  // stays on the last row
            Type(edit, Qt::Key_Up);
            EXPECT_EQ(JumpRows(dialog).front(), all[1]);
            Type(edit, japanese ? Qt::Key_Enter : Qt::Key_Return);
            EXPECT_FALSE(dialog->isVisible());
            if (dialog->isVisible()) static_cast<QDialog*>(dialog)->reject();
        });
        cmd_jump_to_tune(&d);
        EXPECT_EQ(d.player.current_index, 1);
        EXPECT_EQ(lib.start_sample, 0);
        EXPECT_EQ(lib.loaded, "/t/village.ptcop");

        d.player.play(2, 0);
        WhenModal([&](QWidget* dialog) {
            auto* edit = Control<QLineEdit>(dialog, 1001);
            TypeText(edit, "zzz");
            EXPECT_EQ(JumpRows(dialog), (Rows{""}));
            Type(edit, Qt::Key_Return);  // nothing to take: the box stays open
            EXPECT_TRUE(dialog->isVisible());
            Type(edit, Qt::Key_Down);
            Type(edit, Qt::Key_Escape);
            EXPECT_FALSE(dialog->isVisible());
            if (dialog->isVisible()) static_cast<QDialog*>(dialog)->reject();
        });
        cmd_jump_to_tune(&d);
        EXPECT_EQ(d.player.current_index, 2) << "Escape plays nothing";
    }
}

// Every label of every dialog, in both languages: its text fits its rectangle and no
// other control covers the text.
TEST(QtDialogLabels, EveryLabelHoldsItsTextInBothLanguages) {
    for (bool japanese : {false, true}) {
        std::vector<std::unique_ptr<QDialog>> dialogs;
        dialogs.push_back(std::make_unique<QtAboutDialog>(nullptr, japanese));
        dialogs.push_back(std::make_unique<QtAddUrlDialog>(nullptr, japanese));
        dialogs.push_back(std::make_unique<QtFileInfoDialog>(nullptr, FileInfoText{}, japanese));
        dialogs.push_back(
            std::make_unique<QtPreferencesDialog>(nullptr, PreferenceValues{}, japanese));
        for (const auto& dialog : dialogs) {
            int labels = 0;
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                if (label->text().isEmpty()) continue;
                ++labels;
                const QFontMetrics fm(label->font());
                const QRect text(label->geometry().topLeft(),
                                 QSize(fm.horizontalAdvance(label->text()), fm.height()));
                const QString where =
                    dialog->windowTitle() + " " + label->objectName() + " " + label->text();
                EXPECT_LE(text.width(), label->contentsRect().width()) << where.toStdString();
                EXPECT_LE(text.height(), label->contentsRect().height()) << where.toStdString();
                for (const QWidget* other : dialog->findChildren<QWidget*>()) {
                    if (other->parentWidget() == dialog.get() &&
                        !qobject_cast<const QLabel*>(other)) {
                        EXPECT_FALSE(other->geometry().intersects(text))
                            << where.toStdString() << " under "
                            << other->objectName().toStdString();
                    }
                }
            }
            EXPECT_GT(labels, 0);
        }
    }
}

TEST_F(QtDialogsTest, SavePlaylistAddsTheExtensionWhenMissing) {
    const QString folder = QString::fromStdString(dir.string());
    for (const char* typed : {"mine", "other.ptlist"}) {
        WhenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            dialog->setDirectory(folder);
            dialog->selectFile(QString::fromUtf8(typed));
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
        std::optional<std::string> path = dialogs.save_playlist(false);
        ASSERT_TRUE(path);
        EXPECT_EQ(
            std::filesystem::path(*path).filename(),
            std::string(typed).find('.') == std::string::npos ? "mine.ptlist" : "other.ptlist");
    }
}

}  // namespace
}  // namespace dz
