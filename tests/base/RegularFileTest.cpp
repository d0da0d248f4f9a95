#include "base/RegularFile.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace dz {
namespace {

// A FIFO with no writer blocks a plain open for ever; a folder and a device are
// no files either. Each is refused at once and leaves nothing in `out`.
TEST(RegularFile, RefusesWhatIsNotARegularFileWithoutBlocking) {
    std::string pattern = (std::filesystem::temp_directory_path() / "dzreadXXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    std::filesystem::path dir = pattern;
    std::filesystem::path fifo = dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string out = "old";
    EXPECT_EQ(read_regular_file(fifo, 1 << 20, out), ReadFileStatus::NotRegular);
    EXPECT_EQ(out, "");
    EXPECT_EQ(read_regular_file(dir, 1 << 20, out), ReadFileStatus::NotRegular);
    EXPECT_EQ(read_regular_file("/dev/zero", 1 << 20, out), ReadFileStatus::NotRegular);
    EXPECT_EQ(read_regular_file(dir / "none", 1 << 20, out), ReadFileStatus::Missing);
    EXPECT_EQ(read_regular_file(dir / "none" / "x", 1 << 20, out), ReadFileStatus::Missing);

    std::filesystem::path file = dir / "f";
    std::ofstream(file, std::ios::binary) << std::string("ab\0cd", 5);
    EXPECT_EQ(read_regular_file(file, 5, out), ReadFileStatus::Ok);
    EXPECT_EQ(out, std::string("ab\0cd", 5));
    EXPECT_EQ(read_regular_file(file, 4, out), ReadFileStatus::TooLarge);
    EXPECT_EQ(out, "");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace dz
