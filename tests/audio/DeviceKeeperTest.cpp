// The output keeper with scripted devices: a loss is noticed (reported, or a running
// device that stops pulling), nothing pulls while lost, retries back off without blocking
// the caller and the stream goes on once a device opens; a failed first open stands in.
#include "audio/DeviceKeeper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <future>
#include <mutex>
#include <vector>

#include "TestFiles.h"

namespace dz {
namespace {

using namespace std::chrono_literals;
using test::wait_for;
using Clock = DeviceKeeper::Clock;
using State = DeviceKeeper::State;

// What the scripted devices do, shared with the test. Pulls happen only when the test
// asks (pull()), through the fill of the open, started device.
struct Script {
    std::mutex mutex;
    std::condition_variable cv;
    bool gate_open = true;  // opens wait while false
    int failing_opens = 0;  // the next opens that fail
    int opens = 0, closes = 0;
    FillFunction fill;  // of the open device
    bool running = false;
    std::atomic<bool> lost{false};

    void set_gate(bool open) {
        std::lock_guard<std::mutex> g(mutex);
        gate_open = open;
        cv.notify_all();
    }
    int open_count() {
        std::lock_guard<std::mutex> g(mutex);
        return opens;
    }
    bool pull() {
        std::lock_guard<std::mutex> g(mutex);
        if (!fill || !running) return false;
        std::uint8_t buffer[256];
        fill(buffer, 64);
        return true;
    }
};

class ScriptedDevice : public AudioDevice {
public:
    explicit ScriptedDevice(Script& s) : s_(s) {}
    ~ScriptedDevice() override { close(); }
    bool open(const DeviceFormat& f, FillFunction fill) override {
        std::unique_lock<std::mutex> g(s_.mutex);
        s_.cv.wait(g, [this] { return s_.gate_open; });
        ++s_.opens;
        if (s_.failing_opens > 0) {
            --s_.failing_opens;
            return false;
        }
        format_ = f;
        s_.fill = std::move(fill);
        s_.running = false;
        open_ = true;
        return true;
    }
    bool start() override {
        std::lock_guard<std::mutex> g(s_.mutex);
        s_.running = open_;
        return open_;
    }
    void stop() override {
        std::lock_guard<std::mutex> g(s_.mutex);
        s_.running = false;
    }
    void close() override {
        std::lock_guard<std::mutex> g(s_.mutex);
        if (!open_) return;
        open_ = false;
        ++s_.closes;
        s_.fill = nullptr;
        s_.running = false;
    }
    bool is_open() const override { return open_; }
    const DeviceFormat& format() const override { return format_; }
    int buffer_frames() const override { return 64; }
    std::string name() const override { return "scripted"; }
    bool is_lost() const override { return s_.lost; }

private:
    Script& s_;
    DeviceFormat format_;
    bool open_ = false;
};

struct KeeperTest : ::testing::Test {
    Script script;
    std::atomic<int> fills{0};
    DeviceKeeper keeper{[this] { return std::make_unique<ScriptedDevice>(script); }};

    void open() {
        DeviceFormat f;
        f.buffer_seconds = 0.05f;
        keeper.open(f, [this](std::uint8_t*, int) { ++fills; });
    }
    // Polls at `now` until the retry in flight has been taken.
    void settle_retry(Clock::time_point now) {
        ASSERT_TRUE(wait_for([&] {
            keeper.poll(now);
            return keeper.next_retry().has_value() || keeper.state() == State::open;
        }));
    }
};

TEST_F(KeeperTest, ALostDeviceHoldsAndIsReopenedWithBackOffWithoutBlockingTheCaller) {
    open();
    ASSERT_TRUE(keeper.start());
    ASSERT_EQ(keeper.state(), State::open);
    ASSERT_TRUE(script.pull());
    EXPECT_EQ(fills, 1);

    script.failing_opens = 1000;
    script.lost = true;
    const Clock::time_point t0 = Clock::now();
    keeper.poll(t0);
    EXPECT_EQ(keeper.state(), State::lost);
    EXPECT_FALSE(script.pull()) << "a lost device still pulls";
    // The first retry begins at once; it closes the lost device before it opens.
    EXPECT_FALSE(keeper.next_retry());
    settle_retry(t0);
    EXPECT_EQ(script.closes, 1);
    EXPECT_EQ(script.open_count(), 2);

    Clock::time_point at = t0;
    for (double delay : {0.25, 0.5, 1.0, 2.0, 2.0}) {
        at += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(delay));
        ASSERT_EQ(keeper.next_retry(), at) << delay;
        const int opens = script.open_count();
        keeper.poll(at - 1ms);
        EXPECT_EQ(keeper.next_retry(), at) << "a retry before its time, " << delay;
        keeper.poll(at);
        EXPECT_FALSE(keeper.next_retry()) << "no retry at its time, " << delay;
        ASSERT_TRUE(wait_for([&] { return script.open_count() == opens + 1; }));
        settle_retry(at);
        EXPECT_EQ(keeper.state(), State::lost);
    }

    // An opening that hangs does not hold up the caller.
    script.set_gate(false);
    at = *keeper.next_retry();
    keeper.poll(at);
    for (int i = 0; i < 20; ++i) keeper.poll(at + 10s);
    EXPECT_EQ(keeper.state(), State::lost);
    EXPECT_EQ(fills, 1);

    // The output is back: the next opening succeeds and the wanted stream goes on there.
    {
        std::lock_guard<std::mutex> g(script.mutex);
        script.failing_opens = 0;
    }
    script.lost = false;
    script.set_gate(true);
    settle_retry(at + 10s);
    EXPECT_EQ(keeper.state(), State::open);
    EXPECT_TRUE(script.pull());
    EXPECT_EQ(fills, 2);
}

TEST_F(KeeperTest, ARunningDeviceThatStopsPullingIsLostAndAStoppedOneIsNot) {
    open();
    ASSERT_TRUE(keeper.start());
    keeper.stop();
    keeper.poll(Clock::now() + 60s);
    EXPECT_EQ(keeper.state(), State::open) << "a stopped device does not pull";

    ASSERT_TRUE(keeper.start());
    const Clock::time_point t0 = Clock::now();
    keeper.poll(t0 + 1s);
    ASSERT_TRUE(script.pull());
    keeper.poll(t0 + 1500ms);
    keeper.poll(t0 + 4400ms);
    EXPECT_EQ(keeper.state(), State::open) << "2.9 s without a pull";
    keeper.poll(t0 + 4600ms);
    EXPECT_EQ(keeper.state(), State::lost) << "3.1 s without a pull";
}

TEST_F(KeeperTest, AFailedFirstOpenStandsInUntilTheDeviceOpens) {
    script.failing_opens = 1;
    open();
    ASSERT_TRUE(keeper.start());
    EXPECT_EQ(keeper.state(), State::stand_in);
    EXPECT_EQ(keeper.name(), "null");
    EXPECT_TRUE(wait_for([&] { return fills >= 3; })) << "the stand-in keeps time";

    // Nothing is retried before its time; at its time the device opens and takes over.
    const Clock::time_point at = *keeper.next_retry();
    keeper.poll(at - 1ms);
    EXPECT_EQ(script.open_count(), 1);
    settle_retry(at);
    EXPECT_EQ(keeper.state(), State::open);
    EXPECT_EQ(keeper.name(), "scripted");
    const int after_swap = fills;
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(fills, after_swap) << "the stand-in still pulls";
    EXPECT_TRUE(script.pull());
    EXPECT_EQ(fills, after_swap + 1);

    // Reopened in a new format while a retry hangs: the retry's device is closed first.
    keeper.stop();
    script.lost = true;
    {
        std::lock_guard<std::mutex> g(script.mutex);
        script.failing_opens = 1;
    }
    keeper.poll();
    EXPECT_EQ(keeper.state(), State::lost);
    script.lost = false;
    DeviceFormat mono;
    mono.channels = 1;
    keeper.open(mono, [](std::uint8_t*, int) {});
    EXPECT_EQ(keeper.name(), "scripted");
    EXPECT_EQ(keeper.state(), State::open);
    keeper.close();
    EXPECT_EQ(keeper.state(), State::closed);
    EXPECT_EQ(script.closes, 2) << "the lost device and the last one";
    EXPECT_FALSE(script.fill) << "a device is still open";
}

// A sound server that stops answering holds a device's close (and an opening) for as long
// as it stays so: close() returns meanwhile, and the devices are closed once it answers.
TEST_F(KeeperTest, CloseDoesNotWaitForAnOpeningThatHangs) {
    open();
    ASSERT_TRUE(keeper.start());
    script.set_gate(false);
    script.lost = true;
    keeper.poll();  // lost: the retry closes the lost device, then its open waits
    ASSERT_TRUE(wait_for([&] {
        std::lock_guard<std::mutex> g(script.mutex);
        return script.closes == 1;
    }));
    keeper.set_close_wait(50ms);
    auto closing = std::async(std::launch::async, [&] { keeper.close(); });
    const bool returned = closing.wait_for(10s) == std::future_status::ready;
    script.lost = false;
    script.set_gate(true);
    ASSERT_TRUE(returned) << "close waited for the opening";
    EXPECT_EQ(keeper.state(), State::closed);
    EXPECT_TRUE(wait_for([&] {
        std::lock_guard<std::mutex> g(script.mutex);
        return script.opens == 2 && script.closes == 2 && !script.fill;
    })) << "the device opened late is closed";
}

}  // namespace
}  // namespace dz
