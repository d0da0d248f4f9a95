#include "platform/qt/QtPopupMenus.h"

#include <QAction>
#include <QMenu>

namespace dz {

namespace {

// '&' marks a mnemonic in both worlds; the text after a tab is the shortcut column.
QString ItemText(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}

void Fill(QMenu& qmenu, const Menu& menu) {
    for (const MenuItem& item : menu.items) {
        if (item.separator) {
            qmenu.addSeparator();
        } else if (item.submenu) {
            QMenu* sub = qmenu.addMenu(ItemText(item.text));
            sub->setEnabled(!item.grayed);
            Fill(*sub, *item.submenu);
        } else {
            QAction* a = qmenu.addAction(ItemText(item.text));
            a->setData(item.id);
            a->setCheckable(item.checked);
            a->setChecked(item.checked);
            a->setEnabled(!item.grayed);
        }
    }
}

}  // namespace

int QtPopupMenus::track(const Menu& menu, Point screen) {
    QMenu qmenu(parent_);
    Fill(qmenu, menu);
    QAction* chosen = qmenu.exec(QPoint(screen.x, screen.y));
    return chosen ? chosen->data().toInt() : 0;
}

}  // namespace dz
