#pragma once
// The jump box (220 x 170 dialog units): 1001 the search text, 1002 the matching entries
// below it. Typing filters the list at once and chooses its first row (with an empty text,
// the current entry); Up, Down, Page Up and Page Down in the text field move the choice;
// Enter or a double click takes the chosen entry; Escape closes.

#include <QDialog>
#include <vector>

#include "platform/Dialogs.h"

class QLineEdit;
class QListView;

namespace dz {

class QtJumpModel;

class QtJumpDialog : public QDialog {
public:
    QtJumpDialog(QWidget* parent, const std::vector<JumpEntry>& entries, int current,
                 bool japanese);
    // The entry taken with Enter or a double click; -1 before that.
    int chosen() const { return chosen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void filter(const QString& text);
    void choose_row(int row);
    void take_chosen();

    QLineEdit* edit_;
    QListView* list_;
    QtJumpModel* model_;
    int current_;
    int chosen_ = -1;
};

}  // namespace dz
