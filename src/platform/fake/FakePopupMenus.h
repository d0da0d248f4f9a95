#pragma once
// Pop-up menus for tests: records what was shown and returns a scripted choice.

#include <vector>

#include "platform/PopupMenus.h"

namespace dz {

class FakePopupMenus : public PopupMenus {
public:
    struct Shown {
        Menu menu;
        Point screen;
    };
    std::vector<Shown> shown;
    int choice = 0;  // the id track() returns

    int track(const Menu& menu, Point screen) override {
        shown.push_back({menu, screen});
        return choice;
    }
};

}  // namespace dz
