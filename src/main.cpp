// Dezidu: the player's process. Wires the Qt window, the audio library over our
// engine and SDL, and the application shell, then runs the UI loop.
//
// Command line: dezidu [OPTION] [FILE|URL|FOLDER ...] (app/CommandLine.h). The process then
// moves to the folder it runs in (app/RunFolder.h). When a player with the same settings
// file (Dezidu.ini in that folder) runs, the paths go to it and this process ends;
// otherwise they are opened once the worker runs.
//
// Start-up follows the window's life: the window is created hidden at 275 x 116,
// centred, the state and the world are built and attached (the initialisation
// runs, the first frame is shown), the worker starts, the UI loop runs. The loop
// ends after the close sequence; the world and then the state are destroyed. The player
// is on the session bus for desktop media controls (platform/qt/QtMpris.h) when one exists.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ModuleHooks.h"
#include "app/RunFolder.h"
#include "app/TestHooks.h"
#include "base/PathUtil.h"
#include "io/CurlHttpClient.h"
#include "platform/qt/QtInstanceChannel.h"
#include "platform/qt/QtMpris.h"
#include "platform/qt/QtPlatform.h"
#include "player/PxtoneLibrary.h"
#include "skin/SkinImageDecoder.h"

int main(int argc, char** argv) {
    std::error_code ec;
    const std::filesystem::path start_dir = std::filesystem::current_path(ec);
    const std::string program(argc > 0 && argv[0] && *argv[0] ? dz::path_file_name(argv[0])
                                                              : std::string_view("dezidu"));
    dz::CommandLine cl =
        dz::parse_command_line(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc),
                               ec ? std::string("/") : start_dir.string());
    switch (cl.action) {
        case dz::CommandLine::Action::Help:
            std::fputs(dz::command_line_help(program).c_str(), stdout);
            return 0;
        case dz::CommandLine::Action::Version:
            std::fputs(dz::command_line_version().c_str(), stdout);
            return 0;
        case dz::CommandLine::Action::Error:
            std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(),
                         cl.error.c_str(), program.c_str());
            return 2;
        case dz::CommandLine::Action::Run:
            break;
    }

    // Settings and skins: the current folder or the user's data folder (app/RunFolder.h).
    const std::filesystem::path run_dir = dz::EnterRunFolder(cl.desktop);
    // The same settings file as the initialisation reads (the run folder's Dezidu.ini).
    const std::string socket_path =
        run_dir.empty() ? std::string()
                        : dz::instance_socket_path((run_dir / "Dezidu.ini").string());
    if (!socket_path.empty()) {
        switch (dz::QtInstanceChannel::hand_over(socket_path, cl.paths)) {
            case dz::QtInstanceChannel::Handover::Delivered:
                return 0;
            case dz::QtInstanceChannel::Handover::Failed:
                std::fprintf(stderr, "%s: a running player did not answer (%s)\n", program.c_str(),
                             socket_path.c_str());
                return 1;
            case dz::QtInstanceChannel::Handover::NoInstance:
                break;
        }
    }

    // With no session bus, libdbus would try to start one (dbus-launch) for the first thread
    // that asks. Qt asks while the window is shown and SDL while the sound device opens on a
    // thread of its own; two such starts at once can hang both threads. No bus means none.
    if (!dz::QtMpris::session_bus_exists()) setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    dz::SetDefaultQtPlatform();
    // SDL must leave SIGINT and SIGTERM to us: they run the close sequence.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);

    // Qt sees only the program name: every argument is ours.
    int qt_argc = argc > 0 ? 1 : 0;
    dz::QtPlatform platform(qt_argc, argv, dz::Application::kClientWidth,
                            dz::Application::kClientHeight);
    dz::PxtoneLibrary library;
    dz::CurlHttpClient http;
    dz::SkinImageDecoder image_decoder;

    dz::AppHooks hooks = dz::DefaultAppHooks();
    dz::InstallTestHooks(hooks);

    int result = 0;
    {
        dz::PlatformServices services;
        services.popup_menus = &platform.popup_menus();
        services.dialogs = &platform.dialogs();
        services.text = &platform.text_renderer();
        services.image_decoder = &image_decoder;
        services.http = &http;
        dz::Application app(platform.host(), library, hooks, services);
        platform.install_close_signals();
        // A later start is answered from now on: its connection waits in the socket's queue
        // until the UI loop runs, by which time the worker takes the paths.
        dz::QtInstanceChannel channel(socket_path);
        channel.listen([&app, &platform](std::vector<std::string> paths) {
            app.open_paths(std::move(paths));
            platform.raise_window();
        });
        app.create();
        app.start_worker();
        dz::RunTestDrop(app);
        app.open_paths(cl.paths);
        // Media keys and panel widgets: on the session bus when there is one, from the UI
        // loop's first turn on (the window shows first). Quit closes as SIGTERM does.
        dz::QtMpris mpris(
            app, [&platform] { platform.raise_window(); },
            [&platform] { platform.host().request_close(); });
        mpris.start_later();
        result = platform.run();
    }
    return result;
}
