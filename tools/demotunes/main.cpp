// demotunes: writes the demo tunes into a folder (default: demo).
//   demotunes [FOLDER]

#include <cstdio>
#include <filesystem>
#include <string>

#include "Tunes.h"
#include "pxtone/Writer.h"

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fputs(
            "usage: demotunes [FOLDER]\nWrites the demo tunes (.ptcop) into FOLDER (default: "
            "demo).\n",
            stderr);
        return 2;
    }
    const std::filesystem::path folder = argc == 2 ? argv[1] : "demo";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "%s: %s\n", folder.string().c_str(), ec.message().c_str());
        return 1;
    }
    struct Tune {
        const char* file;
        pxtone::Project (*make)();
    };
    const Tune tunes[] = {{"morning-steps.ptcop", dz::demo::morning_steps},
                          {"backyard-groove.ptcop", dz::demo::backyard_groove},
                          {"echo-hall.ptcop", dz::demo::echo_hall}};
    for (const Tune& t : tunes) {
        const std::string path = (folder / t.file).string();
        if (!pxtone::write_file(t.make(), path)) {
            std::fprintf(stderr, "%s: cannot be written\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
