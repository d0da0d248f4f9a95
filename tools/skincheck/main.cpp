// skincheck SKIN [--png OUT.png]: loads a skin folder or a .wsz/.zip skin archive through
// the player's skin loader, without a display, and prints what it registered, read and
// passed over, its colours and polygons, and warnings about what the player will miss;
// with --png it also draws the player, the shaded bar and the playlist editor in it.
//
// Exit status: 0 the skin loaded, 1 it cannot be read at all, 2 a bad command line.

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "SkinReport.h"
#include "Snapshot.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinImageDecoder.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: skincheck SKIN [--png OUT.png]\n"
    "  SKIN           a skin folder, or a .wsz/.zip skin archive\n"
    "  --png OUT.png  also draw the player, its shaded bar and the playlist editor\n"
    "Prints every element the skin registers (key, size, source), its colours and\n"
    "polygons, the files passed over and warnings. Exit status: 0 loaded, 1 unreadable,\n"
    "2 bad command line.\n";

int fail(const std::string& path, const std::string& problem) {
    std::cerr << "skincheck: " << path << ": " << problem << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
        std::cout << kUsage;
        return 0;
    }
    std::string path, png;
    bool bad = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--png" && i + 1 < argc && argv[i + 1][0] != '\0')
            png = argv[++i];
        else if (arg.empty() || (arg[0] == '-' && arg.size() > 1) || !path.empty())
            bad = true;
        else
            path = arg;
    }
    if (bad || path.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return fail(path, "no such file or folder");
    const bool folder = fs::is_directory(status);
    if (!folder && !fs::is_regular_file(status)) return fail(path, "not a folder or a file");
    if (folder) {
        fs::directory_iterator it(path, ec);
        if (ec) return fail(path, "the folder cannot be read (" + ec.message() + ")");
    }

    // Cursors are counted by the display-less host; everything else is the player's code.
    dz::FakeWindowHost host;
    dz::SkinImageDecoder decoder;
    dz::SkinResources resources;
    dz::SkinReport report(std::cout);
    dz::SkinRegistries skin{resources, decoder, &host, &report};

    std::cout << "skin " << path << (folder ? " (folder)" : " (archive)") << '\n';
    if (folder) {
        dz::LoadSkinFolder(skin, path);
    } else if (dz::LoadSkinArchive(skin, path) == 0) {
        std::cout.flush();
        return fail(path, report.events() == 0 ? "not a skin archive (no members found)"
                                               : "no skin file of the archive can be read");
    }
    report.finish(resources);
    if (!png.empty()) {
        std::string error;
        if (!dz::WriteSkinSnapshot(path, folder, png, error)) return fail(png, error);
        std::cout << "picture " << png << '\n';
    }
    return 0;
}
