#include "app/TestHooks.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/Application.h"

namespace dz {

void InstallTestHooks(AppHooks& hooks) {
    const char* log = std::getenv("DEZIDU_SHUTDOWN_LOG");
    if (!log || !*log) return;
    hooks.after_shutdown = [log](TAG_USERDATA&) {
        if (std::FILE* f = std::fopen(log, "a")) {
            std::fputs("shutdown\n", f);
            std::fclose(f);
        }
    };
}

void RunTestDrop(Application& app) {
    const char* drop = std::getenv("DEZIDU_TEST_DROP");
    if (!drop || !*drop) return;
    std::vector<std::string> paths;
    std::istringstream lines(drop);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) paths.push_back(line);
    app.on_drop(std::move(paths));
}

}  // namespace dz
