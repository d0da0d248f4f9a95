// Dezidu: the player's process. Wires the Qt window, the audio library over our
// engine and SDL, and the application shell, then runs the UI loop.
//
// Start-up follows the window's life: the window is created hidden at 275 x 116,
// centred, the state and the world are built and attached (the initialisation
// runs, the first frame is shown), the worker starts, the UI loop runs. The loop
// ends after the close sequence; the world and then the state are destroyed.

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/ModuleHooks.h"
#include "io/CurlHttpClient.h"
#include "platform/qt/QtPlatform.h"
#include "player/PxtoneLibrary.h"
#include "skin/SkinImageDecoder.h"
#include "state/TagUserData.h"

int main(int argc, char** argv) {
    dz::SetDefaultQtPlatform();
    // SDL must leave SIGINT and SIGTERM to us: they run the close sequence.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);

    dz::QtPlatform platform(argc, argv, dz::Application::kClientWidth,
                            dz::Application::kClientHeight);
    dz::PxtoneLibrary library;
    dz::CurlHttpClient http;
    dz::SkinImageDecoder image_decoder;

    dz::AppHooks hooks = dz::DefaultAppHooks();
    // For the end-to-end test: each run of the shutdown sequence appends a line to the
    // file named by DEZIDU_SHUTDOWN_LOG (nothing is written when it is unset).
    if (const char* log = std::getenv("DEZIDU_SHUTDOWN_LOG"); log && *log) {
        hooks.after_shutdown = [log](dz::TAG_USERDATA&) {
            if (std::FILE* f = std::fopen(log, "a")) {
                std::fputs("shutdown\n", f);
                std::fclose(f);
            }
        };
    }

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
        app.create();
        app.start_worker();
        // For the end-to-end tests: DEZIDU_TEST_DROP names files, one per line, that
        // are handed to the window as one drop once it runs (nothing when unset).
        if (const char* drop = std::getenv("DEZIDU_TEST_DROP"); drop && *drop) {
            std::vector<std::string> paths;
            std::istringstream lines(drop);
            for (std::string line; std::getline(lines, line);)
                if (!line.empty()) paths.push_back(line);
            app.on_drop(std::move(paths));
        }
        result = platform.run();
    }
    return result;
}
