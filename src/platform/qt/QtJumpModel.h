#pragma once
// The rows of the jump box: a snapshot of the playlist's titles and file names, and the
// entries whose title or file name contains a search text. Both sides are compared in
// compatibility form (NFKC: half-width katakana and full-width Latin as their usual forms)
// and case folded; the entries' forms are made once, so a search is one pass of substring
// tests over the snapshot. UI thread only.

#include <QAbstractListModel>
#include <QString>
#include <vector>

#include "platform/Dialogs.h"

namespace dz {

class QtJumpModel : public QAbstractListModel {
public:
    explicit QtJumpModel(const std::vector<JumpEntry>& entries, QObject* parent = nullptr);

    // Shows the entries matching `text`, in list order; all of them for an empty text.
    void set_filter(const QString& text);
    // The entry (an index into the snapshot) shown in `row`; -1 when there is no such row.
    int entry_at(int row) const;
    // The row showing `entry`; -1 when it is not shown.
    int row_of(int entry) const;

    // The search form of a text: NFKC, then case folded.
    static QString search_form(const QString& text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Display: "title  (file name)".
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<QString> titles_;
    std::vector<QString> file_names_;
    std::vector<QString> folded_titles_;
    std::vector<QString> folded_file_names_;
    std::vector<int> shown_;  // entry indices, ascending
};

}  // namespace dz
