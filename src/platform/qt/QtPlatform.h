#pragma once
// The Qt side of the process: the application object, the main window host, the
// seams built on Qt, and SIGINT/SIGTERM turned into the close request. main()
// builds one and runs its loop; nothing outside platform/qt sees a Qt type.

#include <memory>

#include "platform/Dialogs.h"
#include "platform/PopupMenus.h"
#include "platform/TextRenderer.h"
#include "platform/WindowHost.h"

class QApplication;

namespace dz {

class QtWindowHost;
class QtSignalBridge;

// Chooses X11 when QT_QPA_PLATFORM is unset: under Wayland a program cannot move its
// window and masks do not cut it. Call before QtPlatform is built.
void SetDefaultQtPlatform();

class QtPlatform {
public:
    // `argc` must outlive the platform (QApplication keeps a reference).
    QtPlatform(int& argc, char** argv, int client_width, int client_height);
    ~QtPlatform();

    WindowHost& host();
    PopupMenus& popup_menus();
    Dialogs& dialogs();
    TextRenderer& text_renderer();

    // Shows the window in front and un-minimised, and asks for the input focus.
    void raise_window();
    // From now on SIGINT and SIGTERM post the window's close request.
    void install_close_signals();
    // Runs the UI loop until the quit; returns its result.
    int run();

private:
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<QtWindowHost> host_;
    std::unique_ptr<PopupMenus> menus_;
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<TextRenderer> text_;
    std::unique_ptr<QtSignalBridge> signals_;
};

}  // namespace dz
