#include "platform/qt/QtJumpDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>

#include "platform/qt/QtDialogLayout.h"
#include "platform/qt/QtJumpModel.h"

namespace dz {

QtJumpDialog::QtJumpDialog(QWidget* parent, const std::vector<JumpEntry>& entries, int current,
                           bool japanese)
    : QDialog(parent), current_(current) {
    SetUpDialog(*this, 220, 170, "曲へジャンプ", "Jump to Tune", japanese);
    edit_ = PlaceControl(new QLineEdit(this), 1001, 7, 7, 206, 14);
    edit_->setPlaceholderText(Choose(japanese, "タイトルまたはファイル名", "Title or file name"));
    list_ = PlaceControl(new QListView(this), 1002, 7, 25, 206, 138);
    model_ = new QtJumpModel(entries, this);
    list_->setModel(model_);
    // Rows of one height: the view lays out only the visible rows, whatever the count.
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setFocusPolicy(Qt::NoFocus);
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) { filter(text); });
    connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        choose_row(index.row());
        take_chosen();
    });
    edit_->installEventFilter(this);
    filter(QString());
    edit_->setFocus();
}

void QtJumpDialog::filter(const QString& text) {
    model_->set_filter(text);
    const int row = text.isEmpty() ? model_->row_of(current_) : -1;
    choose_row(row >= 0 ? row : 0);
}

void QtJumpDialog::choose_row(int row) {
    const QModelIndex index = model_->index(row, 0);
    if (!index.isValid()) return;
    list_->setCurrentIndex(index);
    list_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void QtJumpDialog::take_chosen() {
    const int entry = model_->entry_at(list_->currentIndex().row());
    if (entry < 0) return;  // nothing matches: the box stays open
    chosen_ = entry;
    accept();
}

bool QtJumpDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            take_chosen();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // The list moves its current row as if it had the focus.
            QApplication::sendEvent(list_, key);
            return true;
        default:
            return QDialog::eventFilter(watched, event);
    }
}

}  // namespace dz
