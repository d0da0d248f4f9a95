// icon-gen OUT_FOLDER: writes OUT_FOLDER/<N>x<N>/apps/dezidu.png for each size of the
// desktop's icon theme and OUT_FOLDER/scalable/apps/dezidu.svg.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/qt/QtDialogArt.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool Fail(const std::filesystem::path& path, const char* what) {
    std::fprintf(stderr, "icon-gen: %s: %s\n", path.c_str(), what);
    return false;
}

bool MakeFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return !ec || Fail(folder, ec.message().c_str());
}

bool WriteAll(const std::filesystem::path& out) {
    for (int size : kSizes) {
        const std::string dim = std::to_string(size);
        const std::filesystem::path folder = out / (dim + "x" + dim) / "apps";
        if (!MakeFolder(folder)) return false;
        const std::filesystem::path file = folder / "dezidu.png";
        if (!dz::ProgramIconImage(size).save(QString::fromStdString(file.string()), "PNG"))
            return Fail(file, "cannot write the PNG file");
    }
    const std::filesystem::path folder = out / "scalable" / "apps";
    if (!MakeFolder(folder)) return false;
    const std::filesystem::path file = folder / "dezidu.svg";
    std::ofstream svg(file, std::ios::binary);
    svg << dz::ProgramIconSvg();
    svg.close();
    return svg.good() || Fail(file, "cannot write the SVG file");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs("usage: icon-gen OUT_FOLDER\n", stderr);
        return 2;
    }
    return WriteAll(argv[1]) ? 0 : 1;
}
