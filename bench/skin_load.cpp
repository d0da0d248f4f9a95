// Loading a whole skin into the registries, as a skin change on the worker does: from a
// folder and from a .wsz archive (members unpacked to temporary files). The skin is the
// default skin in demo/skins when it is there, else a synthetic one of the same make-up:
// the eleven bitmaps the player draws at their usual sizes (24 bits), twenty 32 x 32
// cursors and the three text files.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../tests/skin/CursorImages.h"
#include "../tests/skin/TestBytes.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinImageDecoder.h"
#include "skin/SkinLoader.h"

namespace {

namespace fs = std::filesystem;
using dz::test::Bytes;

std::vector<std::uint8_t> Bitmap(int w, int h) {
    const int stride = (w * 3 + 3) / 4 * 4;
    Bytes pixels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < stride; ++x) pixels.u8((x * 7 + y * 3) & 0xFF);
    }
    return dz::test::BmpFile(dz::test::Info40(w, h, 24), pixels);
}

std::vector<std::uint8_t> Cursor32(int seed) {
    Bytes dib = dz::test::Info40(32, 64, 24);
    for (int i = 0; i < 32 * 32; ++i) dib.u8(i + seed).u8(i * 3).u8(seed * 5);
    dib.zeros(32 * 4);  // AND mask: all opaque
    return dz::test::CurFile(dib, 32, 32, 4, 4);
}

struct SyntheticSkin {
    fs::path folder;
    fs::path archive;
};

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Writes the synthetic skin once per process, as a folder and as an archive.
const SyntheticSkin& Synthetic() {
    static const SyntheticSkin skin = [] {
        const fs::path base =
            fs::temp_directory_path() / ("dzskinbench" + std::to_string(::getpid()));
        std::vector<dz::test::ZipMember> members;
        const std::pair<const char*, std::pair<int, int>> bitmaps[] = {
            {"main.bmp", {275, 116}},   {"titlebar.bmp", {344, 87}}, {"cbuttons.bmp", {136, 36}},
            {"posbar.bmp", {307, 10}},  {"volume.bmp", {68, 433}},   {"shufrep.bmp", {92, 85}},
            {"monoster.bmp", {56, 24}}, {"playpaus.bmp", {42, 9}},   {"nums_ex.bmp", {108, 13}},
            {"text.bmp", {155, 18}},    {"pledit.bmp", {280, 186}},  {"balance.bmp", {47, 433}},
        };
        for (const auto& [name, size] : bitmaps) {
            members.push_back({name, Bitmap(size.first, size.second)});
        }
        const char* cursors[] = {"normal",   "close",    "min",      "mmenu",    "mainmenu",
                                 "winbut",   "wsnormal", "wsposbar", "titlebar", "volbal",
                                 "songname", "pnormal",  "pclose",   "pwinbut",  "pwsnorm",
                                 "psize",    "ptbar",    "pvscroll", "posbar",   "eqnormal"};
        int seed = 0;
        for (const char* name : cursors) {
            members.push_back({std::string(name) + ".cur", Cursor32(seed++)});
        }
        std::string viscolor;
        for (int i = 0; i < 24; ++i) viscolor += std::to_string(i * 10) + ",20,30, // line\r\n";
        members.push_back({"viscolor.txt", dz::test::Bytes8(viscolor)});
        members.push_back({"pledit.txt", dz::test::Bytes8("[Text]\r\nNormal=#00FF00\r\nCurrent="
                                                          "#FFFFFF\r\nNormalBG=#000000\r\n"
                                                          "SelectedBG=#0000FF\r\nFont=Arial\r\n")});
        members.push_back(
            {"region.txt", dz::test::Bytes8("[Normal]\r\nNumPoints=4\r\nPointList=0,0 275,0 "
                                            "275,116 0,116\r\n")});
        fs::create_directories(base / "folder");
        for (const auto& m : members) WriteFile(base / "folder" / m.name, m.data);
        WriteFile(base / "skin.wsz", dz::test::MakeZip(members));
        return SyntheticSkin{base / "folder", base / "skin.wsz"};
    }();
    return skin;
}

struct Registries {
    dz::FakeWindowHost host;
    dz::SkinImageDecoder decoder;
    dz::SkinResources resources;
    const dz::EdxImages& images = resources.skin_images;
    const dz::EdxImages& cursors = resources.cursor_images;
    dz::SkinRegistries skin{resources, decoder, &host, nullptr};
};

void Report(benchmark::State& state, const Registries& r) {
    state.counters["bitmaps"] = static_cast<double>(r.images.size());
    state.counters["cursors"] = static_cast<double>(r.cursors.size());
    if (r.images.size() == 0) state.SkipWithError("nothing loaded");
}

void BM_LoadSkinFolder(benchmark::State& state, fs::path folder) {
    Registries r;
    for (auto _ : state) dz::LoadSkinFolder(r.skin, folder);
    Report(state, r);
}

void BM_LoadSkinArchive(benchmark::State& state, fs::path archive) {
    Registries r;
    for (auto _ : state) benchmark::DoNotOptimize(dz::LoadSkinArchive(r.skin, archive));
    Report(state, r);
}

const fs::path kDemoFolder = fs::path(DEZIDU_DEMO_DIR) / "skins" / "pxtone";
const fs::path kDemoArchive = fs::path(DEZIDU_DEMO_DIR) / "skins" / "pxtone.wsz";

int Register = [] {
    benchmark::RegisterBenchmark("BM_LoadSkinFolder/synthetic", [](benchmark::State& s) {
        BM_LoadSkinFolder(s, Synthetic().folder);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_LoadSkinArchive/synthetic", [](benchmark::State& s) {
        BM_LoadSkinArchive(s, Synthetic().archive);
    })->Unit(benchmark::kMillisecond);
    if (fs::is_directory(kDemoFolder)) {
        benchmark::RegisterBenchmark("BM_LoadSkinFolder/demo", [](benchmark::State& s) {
            BM_LoadSkinFolder(s, kDemoFolder);
        })->Unit(benchmark::kMillisecond);
    }
    if (fs::is_regular_file(kDemoArchive)) {
        benchmark::RegisterBenchmark("BM_LoadSkinArchive/demo", [](benchmark::State& s) {
            BM_LoadSkinArchive(s, kDemoArchive);
        })->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

// The synthetic skin's files are removed when the program ends.
struct Cleanup {
    ~Cleanup() {
        std::error_code ec;
        fs::remove_all(fs::temp_directory_path() / ("dzskinbench" + std::to_string(::getpid())),
                       ec);
    }
} cleanup;

}  // namespace
