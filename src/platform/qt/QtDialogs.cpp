#include "platform/qt/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace dz {

namespace {

std::string Utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

}  // namespace

void QtDialogs::about(bool) {
    QMessageBox::about(nullptr, QStringLiteral("Dezidu"), "Dezidu");
}

void QtDialogs::file_info(const FileInfoText& info, bool) {
    QMessageBox::information(
        nullptr, QString::fromUtf8(info.path.c_str()),
        QString::fromUtf8((info.name + "\n\n" + info.comment + "\n\n" + info.details).c_str()));
}

std::optional<std::string> QtDialogs::add_url(bool) {
    bool ok = false;
    QString url = QInputDialog::getText(nullptr, QStringLiteral("Add URL"), QStringLiteral("URL"),
                                        QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return Utf8(url);
}

std::optional<PreferenceValues> QtDialogs::preferences(const PreferenceValues&, bool) {
    return std::nullopt;
}

std::vector<std::string> QtDialogs::open_files(bool) {
    std::vector<std::string> out;
    for (const QString& f : QFileDialog::getOpenFileNames(
             nullptr, QString(), QString(), QStringLiteral("pxtone (*.ptcop *.pttune)"))) {
        out.push_back(Utf8(f));
    }
    return out;
}

std::optional<std::string> QtDialogs::choose_folder(bool) {
    QString d = QFileDialog::getExistingDirectory(nullptr);
    if (d.isEmpty()) return std::nullopt;
    return Utf8(d);
}

std::optional<std::string> QtDialogs::open_playlist(bool) {
    QString f = QFileDialog::getOpenFileName(nullptr, QString(), QString(),
                                             QStringLiteral("Playlist (*.ptlist)"));
    if (f.isEmpty()) return std::nullopt;
    return Utf8(f);
}

std::optional<std::string> QtDialogs::save_playlist(bool) {
    QString f = QFileDialog::getSaveFileName(nullptr, QString(), QString(),
                                             QStringLiteral("Playlist (*.ptlist)"));
    if (f.isEmpty()) return std::nullopt;
    return Utf8(f);
}

}  // namespace dz
