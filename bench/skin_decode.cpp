// Skin loading: decoding a 275 x 116 24-bit BMP (the size of MAIN), and reading a small
// skin archive, from memory and through temporary files.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../tests/skin/CursorImages.h"
#include "../tests/skin/TestBytes.h"
#include "skin/ArchiveReader.h"
#include "skin/BmpDecoder.h"
#include "skin/SkinArchive.h"

namespace {

using dz::test::Bytes;

std::vector<std::uint8_t> MainBmp() {
    const int w = 275;
    const int h = 116;
    const int stride = (w * 3 + 3) / 4 * 4;
    Bytes pixels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < stride; ++x) pixels.u8((x * 7 + y * 3) & 0xFF);
    }
    return dz::test::BmpFile(dz::test::Info40(w, h, 24), pixels);
}

std::vector<std::uint8_t> SmallSkin() {
    using dz::test::Bytes8;
    std::string viscolor;
    for (int i = 0; i < 24; ++i) viscolor += std::to_string(i * 10) + ",0,0 // line\r\n";
    return dz::test::MakeZip({
        {"Skin/", {}, 0},
        {"Skin/main.bmp", MainBmp()},
        {"Skin/pledit.txt", Bytes8("[Text]\r\nNormal=#00FF00\r\nCurrent=#FFFFFF\r\n")},
        {"Skin/viscolor.txt", Bytes8(viscolor)},
        {"Skin/region.txt",
         Bytes8("[Normal]\r\nNumPoints=4\r\nPointList=0,0 275,0 275,116 0,116\r\n")},
        {"Skin/normal.cur", dz::test::SolidCur(1, 2, 3)},
        {"Skin/readme.txt", Bytes8("not a skin file")},
    });
}

void BM_DecodeMainBmp24(benchmark::State& state) {
    const std::vector<std::uint8_t> file = MainBmp();
    for (auto _ : state) {
        std::optional<dz::DecodedImage> image = dz::DecodeBmp(file);
        benchmark::DoNotOptimize(image);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_DecodeMainBmp24);

void BM_ReadArchiveInMemory(benchmark::State& state) {
    const std::vector<std::uint8_t> zip = SmallSkin();
    const dz::MemoryByteSource source(zip);
    for (auto _ : state) {
        std::size_t bytes = 0;
        dz::ReadArchiveMembers(
            source, [](std::string_view) { return true; },
            [&](std::string_view, std::vector<std::uint8_t>&& c) { bytes += c.size(); });
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ReadArchiveInMemory);

// The archive load as the program runs it: every skin file unpacked to a ztm file, visited,
// and deleted.
void BM_ReadArchiveThroughTempFiles(benchmark::State& state) {
    const std::vector<std::uint8_t> zip = SmallSkin();
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("dzbench" + std::to_string(::getpid()) + ".wsz");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(zip.data()), static_cast<std::streamsize>(zip.size()));
    for (auto _ : state) {
        int visits = dz::ForEachSkinArchiveMember(path, [](const dz::SkinArchiveMember&) {});
        benchmark::DoNotOptimize(visits);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadArchiveThroughTempFiles);

}  // namespace
