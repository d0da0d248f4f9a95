#include "platform/qt/QtDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "platform/qt/QtAboutDialog.h"
#include "platform/qt/QtAddUrlDialog.h"
#include "platform/qt/QtDialogArt.h"
#include "platform/qt/QtDialogLayout.h"
#include "platform/qt/QtFileInfoDialog.h"
#include "platform/qt/QtJumpDialog.h"
#include "platform/qt/QtPreferencesDialog.h"

namespace dz {

namespace {

const char kTuneFilter[] = "Pxtone files {*.ptcop,*.pttune} (*.ptcop *.pttune)";
const char kPlaylistFilter[] = "Playlist {*.ptlist} (*.ptlist)";

std::string Utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

std::optional<std::string> FirstFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
    return Utf8(files.front());
}

}  // namespace

QtDialogs::QtDialogs(QWidget* owner, bool native_file_dialogs)
    : owner_(owner), native_file_dialogs_(native_file_dialogs) {}

void QtDialogs::prepare(QFileDialog& dialog) const {
    dialog.setWindowIcon(ProgramIcon());
    dialog.setModal(true);
    if (!native_file_dialogs_) dialog.setOption(QFileDialog::DontUseNativeDialog, true);
}

void QtDialogs::about(bool japanese) {
    QtAboutDialog dialog(owner_, japanese);
    dialog.exec();
}

void QtDialogs::file_info(const FileInfoText& info, bool japanese) {
    QtFileInfoDialog dialog(owner_, info, japanese);
    dialog.exec();
}

std::optional<std::string> QtDialogs::add_url(bool japanese) {
    QtAddUrlDialog dialog(owner_, japanese);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.text();
}

std::optional<PreferenceValues> QtDialogs::preferences(const PreferenceValues& current,
                                                       bool japanese) {
    QtPreferencesDialog dialog(owner_, current, japanese);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.values();
}

std::optional<int> QtDialogs::jump_to_entry(const std::vector<JumpEntry>& entries, int current,
                                            bool japanese) {
    QtJumpDialog dialog(owner_, entries, current, japanese);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen() < 0) return std::nullopt;
    return dialog.chosen();
}

std::vector<std::string> QtDialogs::open_files(bool japanese) {
    QFileDialog dialog(owner_,
                       Choose(japanese, "ファイルをプレイリストに追加", "Add File(s) To Playlist"));
    prepare(dialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilter(QString::fromUtf8(kTuneFilter));
    std::vector<std::string> out;
    if (dialog.exec() != QDialog::Accepted) return out;
    for (const QString& f : dialog.selectedFiles())
        if (!f.isEmpty()) out.push_back(Utf8(f));
    return out;
}

std::optional<std::string> QtDialogs::choose_folder(bool japanese) {
    QFileDialog dialog(owner_, Choose(japanese, "フォルダの追加", "Add folder"));
    prepare(dialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setLabelText(QFileDialog::FileName,
                        Choose(japanese, "フォルダを選択してください", "Select folder"));
    return FirstFile(dialog);
}

std::optional<std::string> QtDialogs::open_playlist(bool japanese) {
    QFileDialog dialog(owner_, Choose(japanese, "プレイリストを開く", "Open Playlist"));
    prepare(dialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromUtf8(kPlaylistFilter));
    return FirstFile(dialog);
}

std::optional<std::string> QtDialogs::save_playlist(bool japanese) {
    QFileDialog dialog(owner_, Choose(japanese, "プレイリストを保存", "Save Playlist"));
    prepare(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromUtf8(kPlaylistFilter));
    dialog.setDefaultSuffix(QStringLiteral("ptlist"));
    std::optional<std::string> path = FirstFile(dialog);
    // Native dialogs may ignore the default suffix: a playlist is only read back from a
    // .ptlist file.
    if (path && QFileInfo(QString::fromStdString(*path)).suffix().isEmpty()) *path += ".ptlist";
    return path;
}

}  // namespace dz
