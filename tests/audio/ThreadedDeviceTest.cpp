#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <limits>
#include <thread>

#include "TestFiles.h"
#include "audio/NullAudioDevice.h"
#include "audio/WavFileDevice.h"

namespace dz {
namespace {

using namespace std::chrono_literals;
using test::wait_for;

DeviceFormat format(int channels, int rate, int bits, float seconds) {
    DeviceFormat f;
    f.channels = channels;
    f.sample_rate = rate;
    f.bits = bits;
    f.buffer_seconds = seconds;
    return f;
}

TEST(DeviceFormat, ValidatesAndSizesBuffers) {
    EXPECT_TRUE(format(2, 44100, 16, 0.1f).valid());
    EXPECT_TRUE(format(1, 11025, 8, 0.1f).valid());
    EXPECT_FALSE(format(3, 44100, 16, 0.1f).valid());
    EXPECT_FALSE(format(2, 44100, 24, 0.1f).valid());
    EXPECT_FALSE(format(2, 0, 16, 0.1f).valid());
    EXPECT_FALSE(format(2, -44100, 16, 0.1f).valid());
    EXPECT_EQ(4410, format(2, 44100, 16, 0.1f).buffer_frames());
    EXPECT_EQ(4410, format(2, 44100, 16, 0.0f).buffer_frames());
    EXPECT_EQ(4410, format(2, 44100, 16, std::numeric_limits<float>::quiet_NaN()).buffer_frames());
    EXPECT_EQ(4410, format(2, 44100, 16, -1.0f).buffer_frames());
    EXPECT_EQ(64, format(2, 44100, 16, 0.0001f).buffer_frames());
    EXPECT_EQ(88200, format(2, 44100, 16, 1e9f).buffer_frames());
    EXPECT_EQ(4, format(2, 44100, 16, 0.1f).bytes_per_frame());
    EXPECT_EQ(1, format(1, 44100, 8, 0.1f).bytes_per_frame());
}

TEST(NullAudioDevice, RefusesBadFormatsAndStartWhenClosed) {
    NullAudioDevice device;
    EXPECT_FALSE(device.start());
    EXPECT_FALSE(device.open(format(2, 44100, 12, 0.1f), nullptr));
    EXPECT_FALSE(device.is_open());
    device.stop();
    device.close();
}

// The null device pulls at the real rate: after about half a second of play
// it has pulled about half a second of frames. Bounds are loose on purpose.
TEST(NullAudioDevice, PullsAtRoughlyTheRealRateAndHaltsOnStop) {
    NullAudioDevice device;
    std::atomic<std::int64_t> filled{0};
    std::atomic<int> bad_sizes{0};
    const int rate = 22050;
    ASSERT_TRUE(device.open(format(2, rate, 16, 0.02f), [&](std::uint8_t* buf, int frames) {
        if (frames != 441) ++bad_sizes;
        std::fill(buf, buf + frames * 4, 0x55);
        filled += frames;
    }));
    EXPECT_EQ(441, device.buffer_frames());
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(0, filled.load()) << "nothing is pulled before start";

    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(device.start());
    std::this_thread::sleep_for(600ms);
    device.stop();
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double pulled_seconds = static_cast<double>(filled.load()) / rate;
    EXPECT_GT(pulled_seconds, 0.25);
    EXPECT_LT(pulled_seconds, elapsed + 0.5) << "the device must not run ahead of the clock";
    EXPECT_EQ(0, bad_sizes.load());
    EXPECT_EQ(filled.load(), device.frames_pulled());

    const auto after_stop = filled.load();
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(after_stop, filled.load()) << "no pulls after stop returned";

    // After a stop and a start the device is paced from the start again: it does not
    // catch up on the time it was stopped (a buffer now, then one per 20 ms period).
    const auto t1 = std::chrono::steady_clock::now();
    ASSERT_TRUE(device.start());
    std::this_thread::sleep_for(200ms);
    device.stop();
    const double resumed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count();
    EXPECT_GT(filled.load(), after_stop) << "start resumes pulling";
    EXPECT_LE(static_cast<double>(filled.load() - after_stop) / rate, resumed + 0.03)
        << "the stopped time was caught up";
    device.close();
    const auto after_close = filled.load();
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(after_close, filled.load());
}

TEST(NullAudioDevice, StopWaitsForARunningFill) {
    NullAudioDevice device;
    std::atomic<bool> inside{false};
    std::atomic<bool> overlapped{false};
    std::atomic<bool> stopped{false};
    ASSERT_TRUE(device.open(format(2, 44100, 16, 0.005f), [&](std::uint8_t*, int) {
        inside = true;
        if (stopped) overlapped = true;
        std::this_thread::sleep_for(20ms);
        if (stopped) overlapped = true;
        inside = false;
    }));
    ASSERT_TRUE(device.start());
    ASSERT_TRUE(wait_for([&] { return inside.load(); }));
    device.stop();
    stopped = true;
    EXPECT_FALSE(inside.load());
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(overlapped.load());
}

// Writes a frame counter into both channels so the file shows every frame in order.
FillFunction counter_fill(std::atomic<int>& next) {
    return [&next](std::uint8_t* buf, int frames) {
        auto* s = reinterpret_cast<std::int16_t*>(buf);
        for (int i = 0; i < frames; ++i) {
            const auto v = static_cast<std::int16_t>(next++);
            s[2 * i] = v;
            s[2 * i + 1] = static_cast<std::int16_t>(-v);
        }
    };
}

TEST(WavFileDevice, UnpacedWritesExactlyMaxFramesInOrder) {
    const auto path = test::temp_path("device.wav");
    std::atomic<int> next{0};
    {
        WavFileDevice device(path.string(), ThreadedDevice::Pace::unpaced, 10000);
        ASSERT_TRUE(device.open(format(2, 44100, 16, 0.01f), counter_fill(next)));
        ASSERT_TRUE(device.start());
        EXPECT_TRUE(wait_for([&] { return device.frames_written() >= 10000; }));
        device.stop();
        EXPECT_EQ(10000, device.frames_written());
        EXPECT_TRUE(device.error().empty());
        // After stop the header already describes the data.
        const auto mid = test::read_file(path);
        ASSERT_GE(mid.size(), 44u);
        EXPECT_EQ(40000u, test::u32_at(mid, 40));
    }
    const auto bytes = test::read_file(path);
    ASSERT_EQ(44u + 40000u, bytes.size());
    EXPECT_EQ(2u, test::u16_at(bytes, 22));
    EXPECT_EQ(40000u, test::u32_at(bytes, 40));
    for (int i = 0; i < 10000; i += 997) {
        EXPECT_EQ(static_cast<std::uint16_t>(i), test::u16_at(bytes, 44 + 4 * i));
        EXPECT_EQ(static_cast<std::uint16_t>(-i), test::u16_at(bytes, 46 + 4 * i));
    }
    std::filesystem::remove(path);
}

TEST(WavFileDevice, FailsToOpenAnUnwritablePath) {
    WavFileDevice device("/nonexistent-dir/out.wav");
    EXPECT_FALSE(device.open(format(2, 44100, 16, 0.1f), nullptr));
    EXPECT_FALSE(device.is_open());
    EXPECT_FALSE(device.start());
}

TEST(WavFileDevice, ReopenStartsANewFile) {
    const auto path = test::temp_path("reopen.wav");
    std::atomic<int> next{0};
    WavFileDevice device(path.string(), ThreadedDevice::Pace::unpaced, 300);
    ASSERT_TRUE(device.open(format(2, 44100, 16, 0.01f), counter_fill(next)));
    ASSERT_TRUE(device.start());
    ASSERT_TRUE(wait_for([&] { return device.frames_written() >= 300; }));
    ASSERT_TRUE(device.open(format(1, 11025, 8, 0.01f), [](std::uint8_t* buf, int frames) {
        std::fill(buf, buf + frames, 200);
    }));
    ASSERT_TRUE(device.start());
    ASSERT_TRUE(wait_for([&] { return device.frames_written() >= 300; }));
    device.close();
    const auto bytes = test::read_file(path);
    ASSERT_EQ(44u + 300u, bytes.size());
    EXPECT_EQ(1u, test::u16_at(bytes, 22));
    EXPECT_EQ(8u, test::u16_at(bytes, 34));
    EXPECT_EQ(200, bytes[44]);
    EXPECT_EQ(200, bytes.back());
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace dz
