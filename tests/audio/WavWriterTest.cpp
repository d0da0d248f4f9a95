#include "audio/WavWriter.h"

#include <gtest/gtest.h>

#include <cstring>

#include "TestFiles.h"

namespace dz {
namespace {

using test::read_file;
using test::u16_at;
using test::u32_at;

TEST(WavWriter, HeaderDescribesFormatAndData) {
    const auto h = WavWriter::make_header(2, 44100, 16, 1000);
    std::vector<std::uint8_t> b(h.begin(), h.end());
    EXPECT_EQ(0, std::memcmp(&b[0], "RIFF", 4));
    EXPECT_EQ(36u + 1000u, u32_at(b, 4));
    EXPECT_EQ(0, std::memcmp(&b[8], "WAVEfmt ", 8));
    EXPECT_EQ(16u, u32_at(b, 16));
    EXPECT_EQ(1u, u16_at(b, 20));
    EXPECT_EQ(2u, u16_at(b, 22));
    EXPECT_EQ(44100u, u32_at(b, 24));
    EXPECT_EQ(176400u, u32_at(b, 28));
    EXPECT_EQ(4u, u16_at(b, 32));
    EXPECT_EQ(16u, u16_at(b, 34));
    EXPECT_EQ(0, std::memcmp(&b[36], "data", 4));
    EXPECT_EQ(1000u, u32_at(b, 40));

    const auto mono8 = WavWriter::make_header(1, 11025, 8, 7);
    std::vector<std::uint8_t> m(mono8.begin(), mono8.end());
    EXPECT_EQ(11025u, u32_at(m, 28));
    EXPECT_EQ(1u, u16_at(m, 32));
    EXPECT_EQ(8u, u16_at(m, 34));
    EXPECT_EQ(7u, u32_at(m, 40));
    EXPECT_EQ(36u + 7u + 1u, u32_at(m, 4)) << "odd data is padded in the RIFF size";
}

TEST(WavWriter, WritesHeaderAndSamplesAndPadsOddData) {
    const auto path = test::temp_path("writer.wav");
    {
        WavWriter w;
        ASSERT_TRUE(w.open(path.string(), 1, 22050, 8));
        const std::uint8_t a[] = {1, 2, 3};
        const std::uint8_t b[] = {4, 5};
        EXPECT_TRUE(w.write(a, sizeof a));
        EXPECT_TRUE(w.write(b, sizeof b));
        EXPECT_TRUE(w.write(a, 0));
        EXPECT_EQ(5u, w.data_bytes());
        EXPECT_TRUE(w.finish());
        EXPECT_FALSE(w.is_open());
    }
    const auto bytes = read_file(path);
    ASSERT_EQ(44u + 5u + 1u, bytes.size());
    EXPECT_EQ(5u, u32_at(bytes, 40));
    EXPECT_EQ(bytes.size() - 8, u32_at(bytes, 4));
    EXPECT_EQ((std::vector<std::uint8_t>{1, 2, 3, 4, 5, 0}),
              std::vector<std::uint8_t>(bytes.begin() + 44, bytes.end()));
    std::filesystem::remove(path);
}

TEST(WavWriter, HeaderIsValidBeforeFinishAndAfterDestruction) {
    const auto path = test::temp_path("partial.wav");
    {
        WavWriter w;
        ASSERT_TRUE(w.open(path.string(), 2, 48000, 16));
        std::vector<std::int16_t> s(100, 1234);
        ASSERT_TRUE(w.write(s.data(), s.size() * 2));
        ASSERT_TRUE(w.update_header());
        auto mid = read_file(path);
        ASSERT_EQ(44u + 200u, mid.size());
        EXPECT_EQ(200u, u32_at(mid, 40));
        ASSERT_TRUE(w.write(s.data(), 4));
    }  // the destructor finishes the file
    const auto bytes = read_file(path);
    ASSERT_EQ(44u + 204u, bytes.size());
    EXPECT_EQ(204u, u32_at(bytes, 40));
    EXPECT_EQ(240u, u32_at(bytes, 4));
    std::filesystem::remove(path);
}

TEST(WavWriter, ReportsUnwritablePath) {
    WavWriter w;
    EXPECT_FALSE(w.open("/nonexistent-dir/x/out.wav", 2, 44100, 16));
    EXPECT_FALSE(w.error().empty());
    const std::uint8_t a[2] = {};
    EXPECT_FALSE(w.write(a, 2));
}

TEST(WavWriter, ReportsDiskFull) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    WavWriter w;
    // /dev/full accepts the open and fails every flushed write.
    ASSERT_TRUE(w.open("/dev/full", 2, 44100, 16) || !w.error().empty());
    std::vector<std::uint8_t> big(1 << 20);
    w.write(big.data(), big.size());
    EXPECT_FALSE(w.finish());
    EXPECT_FALSE(w.error().empty());
}

}  // namespace
}  // namespace dz
