#pragma once
// Pop-up menus as QMenu, built from a Menu snapshot each time.

#include "platform/PopupMenus.h"

class QWidget;

namespace dz {

class QtPopupMenus : public PopupMenus {
public:
    // `parent`: the window the menus belong to (it outlives this), or none. On Wayland a
    // pop-up is placed relative to its parent window, whose screen position only Qt's own
    // coordinates know: the screen point given to track is taken in those.
    explicit QtPopupMenus(QWidget* parent = nullptr) : parent_(parent) {}
    int track(const Menu& menu, Point screen) override;

private:
    QWidget* parent_;
};

}  // namespace dz
