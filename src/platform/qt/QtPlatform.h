#pragma once
// The Qt side of the process: the application object, the main window host, the
// seams built on Qt, and SIGINT/SIGTERM turned into the close request. main()
// builds one and runs its loop; nothing outside platform/qt sees a Qt type.

#include <memory>
#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/PopupMenus.h"
#include "platform/TextRenderer.h"
#include "platform/WindowHost.h"

class QApplication;

namespace dz {

class QtWindowHost;
class QtSignalBridge;

// Chooses the Qt platform when QT_QPA_PLATFORM is unset (a value set is the user's
// choice and stays): X11 first, through XWayland on a Wayland desktop, where the program
// places its window exactly and keeps it on top; native Wayland when no X server is named
// (DISPLAY unset) or the named one cannot be reached. Call before QtPlatform is built.
void SetDefaultQtPlatform();

// The line (with its newline) printed when no platform of `platforms` (QT_QPA_PLATFORM's
// form: names separated by ';') could open a display: each name tried, with the display
// it was given (DISPLAY for xcb, WAYLAND_DISPLAY for wayland; null: unset).
std::string NoDisplayMessage(std::string_view program, std::string_view platforms,
                             const char* x_display, const char* wayland_display);

class QtPlatform {
public:
    // `argc` must outlive the platform (QApplication keeps a reference). When no display
    // can be opened, prints NoDisplayMessage for QT_QPA_PLATFORM and ends the process
    // with status 1 (Qt itself would abort); Qt's messages of a start that works are
    // printed once the application object exists.
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
