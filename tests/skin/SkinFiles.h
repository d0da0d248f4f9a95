#pragma once
// A scratch folder for skin tests, with the temporary folder (TMPDIR) pointed inside it so
// that unpacked members left behind can be counted; and small skin files.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "CursorImages.h"
#include "TestBytes.h"

namespace dz::test {

namespace fs = std::filesystem;

class ScratchSkinDir {
public:
    ScratchSkinDir() {
        std::string pattern = (fs::temp_directory_path() / "dzskinloadXXXXXX").string();
        if (::mkdtemp(pattern.data())) base_ = pattern;
        fs::create_directories(tmp());
        if (const char* old = std::getenv("TMPDIR")) old_tmpdir_ = old;
        ::setenv("TMPDIR", tmp().c_str(), 1);
    }
    ~ScratchSkinDir() {
        if (old_tmpdir_) {
            ::setenv("TMPDIR", old_tmpdir_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        std::error_code ec;
        fs::remove_all(base_, ec);
    }
    ScratchSkinDir(const ScratchSkinDir&) = delete;
    ScratchSkinDir& operator=(const ScratchSkinDir&) = delete;

    const fs::path& base() const { return base_; }
    fs::path tmp() const { return base_ / "tmp"; }

    // Writes base/relative (folders made as needed) and returns its path.
    fs::path write(const fs::path& relative, const std::vector<std::uint8_t>& bytes) const {
        const fs::path path = base_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    fs::path write(const fs::path& relative, std::string_view text) const {
        return write(relative, Bytes8(text));
    }
    fs::path folder(const fs::path& relative) const {
        fs::create_directories(base_ / relative);
        return base_ / relative;
    }

    // "ztm" files in the temporary folder.
    int ztm_files() const {
        int n = 0;
        for (const auto& e : fs::directory_iterator(tmp())) {
            n += e.path().filename().string().rfind("ztm", 0) == 0;
        }
        return n;
    }

private:
    fs::path base_;
    std::optional<std::string> old_tmpdir_;
};

// A test run inside a scratch folder as the current directory.
class InScratchDir : public ::testing::Test {
protected:
    InScratchDir() : old_cwd_(fs::current_path()) { fs::current_path(dir.base()); }
    ~InScratchDir() override { fs::current_path(old_cwd_); }

    ScratchSkinDir dir;

private:
    fs::path old_cwd_;
};

// A width x height 24-bit BMP of one colour.
inline std::vector<std::uint8_t> Bmp24(int width, int height, std::uint8_t b, std::uint8_t g,
                                       std::uint8_t r) {
    Bytes pixels;
    const int stride = (width * 3 + 3) / 4 * 4;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.u8(b).u8(g).u8(r);
        pixels.zeros(static_cast<std::size_t>(stride - width * 3));
    }
    return BmpFile(Info40(width, height, 24), pixels);
}

// A BMP that claims 4096 x 4096 at 8 bits, RLE8, in 56 bytes: its pixels are only "end of
// bitmap". Decoded it would take 64 MiB.
inline std::vector<std::uint8_t> BombBmp() {
    return BmpFile(Info40(4096, 4096, 8, 1), Bytes().raw({0, 1}));
}

// A cursor that claims 4096 x 4096 at 24 bits; its pixels are missing.
inline std::vector<std::uint8_t> BombCur() {
    return CurFile(Info40(4096, 2 * 4096, 24), 0, 0, 0, 0);
}

// A skin of 40 bitmaps and 20 cursors: a real 2 x 2 MAIN and 1 x 1 NORMAL first, then a
// bomb under every other element name the player uses and under unused names, then a
// PLEDIT.TXT.
inline std::vector<ZipMember> BombSkin() {
    // Upper-case names come first in a folder too.
    std::vector<ZipMember> m = {{"Skin/MAIN.bmp", Bmp24(2, 2, 1, 2, 3)},
                                {"Skin/NORMAL.cur", SolidCur(1, 2, 3)}};
    for (const char* e : {"cbuttons", "playpaus", "monoster", "posbar", "shufrep", "volume",
                          "titlebar", "nums_ex", "numbers", "text", "pledit"}) {
        m.push_back({std::string("Skin/") + e + ".bmp", BombBmp()});
    }
    for (int i = 0; m.size() < 41; ++i)
        m.push_back({"Skin/x" + std::to_string(i) + ".bmp", BombBmp()});
    for (const char* e : {"close", "min", "mmenu", "mainmenu", "winbut", "wsnormal", "wsposbar",
                          "titlebar", "volbal", "songname", "pnormal", "pclose", "pwinbut",
                          "pwsnorm", "psize", "ptbar", "pvscroll", "y0", "y1"}) {
        m.push_back({std::string("Skin/") + e + ".cur", BombCur()});
    }
    m.push_back({"Skin/pledit.txt", Bytes8("[Text]\r\nNormal=#00FF00\r\n")});
    return m;
}

}  // namespace dz::test
