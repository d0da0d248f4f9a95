#include "audio/SdlAudioDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include "TestFiles.h"

namespace dz {
namespace {

using test::wait_for;

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had_) {
            ::setenv(name_, old_.c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

DeviceFormat stereo16(bool default_driver = true) {
    DeviceFormat f;
    f.buffer_seconds = 0.02f;
    f.default_driver = default_driver;
    return f;
}

TEST(SdlAudioDevice, DummyDriverPullsAfterStartAndNotAfterStop) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SdlAudioDevice device;
    std::atomic<int> calls{0};
    std::atomic<int> bad_sizes{0};
    // Asking for ALSA gives way to the driver the environment names.
    ASSERT_TRUE(device.open(stereo16(false), [&](std::uint8_t* buf, int frames) {
        if (frames <= 0) ++bad_sizes;
        std::fill(buf, buf + frames * 4, 0);
        ++calls;
    })) << device.error();
    EXPECT_EQ("sdl:dummy", device.name());
    EXPECT_GT(device.buffer_frames(), 0);
    ASSERT_TRUE(device.start());
    EXPECT_TRUE(wait_for([&] { return calls >= 3; }));
    device.stop();
    const int after_stop = calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(after_stop, calls.load());
    EXPECT_EQ(0, bad_sizes.load());
    device.close();
    EXPECT_FALSE(device.is_open());
    EXPECT_FALSE(device.start());
}

// An output chosen by a name the driver does not list (unplugged since it was stored)
// gives way to the default output; a listed name opens.
TEST(SdlAudioDevice, AnOutputNotListedGivesWayToTheDefault) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    DeviceFormat f = stereo16();
    f.device = "No Such Output";
    SdlAudioDevice device;
    ASSERT_TRUE(device.open(f, nullptr)) << device.error();
    EXPECT_EQ(device.name(), "sdl:dummy");
    EXPECT_FALSE(device.is_lost());
    device.close();
    for (const std::string& name : SdlAudioDevice::output_names()) {
        f.device = name;
        EXPECT_TRUE(device.open(f, nullptr)) << name << ": " << device.error();
        device.close();
    }
}

// The disk driver writes what the callback produced; the file also holds the
// silence SDL wrote while the device was paused, so the pattern is searched for.
TEST(SdlAudioDevice, DiskDriverWritesThePulledPcm) {
    const auto path = test::temp_path("sdl_disk.raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", path.string());
    ScopedEnv delay("SDL_DISKAUDIODELAY", "1");
    std::atomic<int> next{0};
    std::atomic<int> frames_filled{0};
    {
        SdlAudioDevice device;
        ASSERT_TRUE(device.open(stereo16(), [&](std::uint8_t* buf, int frames) {
            auto* s = reinterpret_cast<std::int16_t*>(buf);
            for (int i = 0; i < frames; ++i) {
                const int v = next++;
                s[2 * i] = static_cast<std::int16_t>(v % 30000 + 1);
                s[2 * i + 1] = static_cast<std::int16_t>(-(v % 30000 + 1));
            }
            frames_filled += frames;
        })) << device.error();
        EXPECT_EQ("sdl:disk", device.name());
        ASSERT_TRUE(device.start());
        EXPECT_TRUE(wait_for([&] { return frames_filled >= 4000; }));
        device.stop();
        device.close();
    }
    const auto bytes = test::read_file(path);
    std::filesystem::remove(path);
    ASSERT_GE(bytes.size(), 4000u * 4);
    std::size_t at = 0;
    while (at + 4 <= bytes.size() && test::u16_at(bytes, at) == 0) at += 4;
    ASSERT_LT(at, bytes.size()) << "no callback data in the disk file";
    int checked = 0;
    for (int i = 0; at + 4 * i + 4 <= bytes.size() && i < 3000; ++i, ++checked) {
        ASSERT_EQ(static_cast<std::int16_t>(i + 1),
                  static_cast<std::int16_t>(test::u16_at(bytes, at + 4 * i)));
        ASSERT_EQ(static_cast<std::int16_t>(-(i + 1)),
                  static_cast<std::int16_t>(test::u16_at(bytes, at + 4 * i + 2)));
    }
    EXPECT_EQ(3000, checked);
}

TEST(SdlAudioDevice, EightBitMonoReachesTheDiskFileUnconverted) {
    const auto path = test::temp_path("sdl_disk8.raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", path.string());
    ScopedEnv delay("SDL_DISKAUDIODELAY", "1");
    std::atomic<int> filled{0};
    {
        SdlAudioDevice device;
        DeviceFormat f = stereo16();
        f.channels = 1;
        f.bits = 8;
        f.sample_rate = 22050;
        ASSERT_TRUE(device.open(f, [&](std::uint8_t* buf, int frames) {
            std::fill(buf, buf + frames, 0xC0);
            filled += frames;
        })) << device.error();
        ASSERT_TRUE(device.start());
        EXPECT_TRUE(wait_for([&] { return filled >= 2000; }));
        device.close();
    }
    const auto bytes = test::read_file(path);
    std::filesystem::remove(path);
    std::size_t count = 0;
    for (auto b : bytes) {
        EXPECT_TRUE(b == 0x80 || b == 0xC0) << int(b);
        count += b == 0xC0;
    }
    EXPECT_GE(count, 1000u);
}

TEST(SdlAudioDevice, UnknownDriverFailsCleanly) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    SdlAudioDevice device;
    EXPECT_FALSE(device.open(stereo16(), nullptr));
    EXPECT_FALSE(device.is_open());
    EXPECT_FALSE(device.error().empty());
    device.close();
    // A later open with a working driver still succeeds.
    ScopedEnv dummy("SDL_AUDIODRIVER", "dummy");
    EXPECT_TRUE(device.open(stereo16(), nullptr)) << device.error();
}

}  // namespace
}  // namespace dz
