// skin-gen: draws the default skin "pxtone" and writes it as a skin folder (BMP, CUR and
// TXT files) and, with --wsz, as a zip archive. The output is the same bytes on every run.
//
//   skin-gen OUT_FOLDER [--wsz OUT.wsz]

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Bitmaps.h"
#include "Cursors.h"
#include "FileFormats.h"
#include "TextFiles.h"

namespace {

using skingen::Bytes;

// False with errno's reason in `why` when the file cannot be written whole.
bool write_file(const std::filesystem::path& path, const Bytes& bytes, std::string& why) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out) return true;
    why = errno ? std::strerror(errno) : "write error";
    return false;
}

Bytes to_bytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

int usage() {
    std::fprintf(stderr, "usage: skin-gen OUT_FOLDER [--wsz OUT.wsz]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string folder, wsz;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--wsz") {
            if (i + 1 >= args.size() || !wsz.empty()) return usage();
            wsz = args[++i];
        } else if (!args[i].empty() && args[i][0] == '-') {
            std::fprintf(stderr, "skin-gen: unknown option %s\n", args[i].c_str());
            return usage();
        } else if (folder.empty()) {
            folder = args[i];
        } else {
            return usage();
        }
    }
    if (folder.empty()) return usage();

    // Every file of the skin, sorted by name (the archive keeps this order).
    std::vector<skingen::ZipMember> files;
    for (const skingen::NamedBitmap& b : skingen::skin_bitmaps())
        files.push_back({b.name, skingen::encode_bmp(b.image)});
    for (const skingen::NamedCursor& c : skingen::skin_cursors())
        files.push_back({c.name, skingen::encode_cur(c.image)});
    files.push_back({"PLEDIT.TXT", to_bytes(skingen::pledit_txt())});
    files.push_back({"REGION.TXT", to_bytes(skingen::region_txt())});
    files.push_back({"VISCOLOR.TXT", to_bytes(skingen::viscolor_txt())});
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });

    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "skin-gen: cannot create the folder %s: %s\n", folder.c_str(),
                     ec ? ec.message().c_str() : "not a folder");
        return 1;
    }
    for (const skingen::ZipMember& f : files) {
        const std::filesystem::path path = std::filesystem::path(folder) / f.name;
        if (std::string why; !write_file(path, f.data, why)) {
            std::fprintf(stderr, "skin-gen: cannot write %s: %s\n", path.c_str(), why.c_str());
            return 1;
        }
    }
    if (!wsz.empty()) {
        const std::optional<Bytes> zip = skingen::encode_zip(files);
        if (!zip) {
            std::fprintf(stderr, "skin-gen: cannot compress the archive %s\n", wsz.c_str());
            return 1;
        }
        if (std::string why; !write_file(wsz, *zip, why)) {
            std::fprintf(stderr, "skin-gen: cannot write %s: %s\n", wsz.c_str(), why.c_str());
            return 1;
        }
    }
    return 0;
}
