#include "platform/qt/QtJumpModel.h"

#include <algorithm>

namespace dz {

QtJumpModel::QtJumpModel(const std::vector<JumpEntry>& entries, QObject* parent)
    : QAbstractListModel(parent) {
    titles_.reserve(entries.size());
    file_names_.reserve(entries.size());
    folded_titles_.reserve(entries.size());
    folded_file_names_.reserve(entries.size());
    shown_.reserve(entries.size());
    for (const JumpEntry& e : entries) {
        titles_.push_back(QString::fromStdString(e.title));
        file_names_.push_back(QString::fromStdString(e.file_name));
        folded_titles_.push_back(search_form(titles_.back()));
        folded_file_names_.push_back(search_form(file_names_.back()));
        shown_.push_back(static_cast<int>(shown_.size()));
    }
}

QString QtJumpModel::search_form(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

void QtJumpModel::set_filter(const QString& text) {
    const QString part = search_form(text);
    beginResetModel();
    shown_.clear();
    const int count = static_cast<int>(titles_.size());
    for (int i = 0; i < count; ++i) {
        if (part.isEmpty() || folded_titles_[i].contains(part) ||
            folded_file_names_[i].contains(part))
            shown_.push_back(i);
    }
    endResetModel();
}

int QtJumpModel::entry_at(int row) const {
    if (row < 0 || row >= static_cast<int>(shown_.size())) return -1;
    return shown_[static_cast<std::size_t>(row)];
}

int QtJumpModel::row_of(int entry) const {
    auto it = std::lower_bound(shown_.begin(), shown_.end(), entry);
    if (it == shown_.end() || *it != entry) return -1;
    return static_cast<int>(it - shown_.begin());
}

int QtJumpModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant QtJumpModel::data(const QModelIndex& index, int role) const {
    const int entry = entry_at(index.row());
    if (entry < 0 || role != Qt::DisplayRole) return QVariant();
    const auto e = static_cast<std::size_t>(entry);
    return titles_[e] + QStringLiteral("  (") + file_names_[e] + QLatin1Char(')');
}

}  // namespace dz
