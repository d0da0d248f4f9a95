#pragma once
// An output that writes the pulled PCM to a WAV file instead of a sound card.
// Real-time pace behaves like a sound card; unpaced pulls as fast as the fill
// function allows (export). `max_frames` > 0 stops writing after that many
// frames (pulling goes on, so the caller's timing is unchanged).
//
// The file is created by open and its header is brought up to date at every
// stop and at close.

#include <cstdint>
#include <string>

#include "audio/ThreadedDevice.h"
#include "audio/WavWriter.h"

namespace dz {

class WavFileDevice : public ThreadedDevice {
public:
    explicit WavFileDevice(std::string path, Pace pace = Pace::real_time,
                           std::int64_t max_frames = 0, double speed = 1.0);
    ~WavFileDevice() override { close(); }

    std::string name() const override { return "wav:" + path_; }
    const std::string& path() const { return path_; }
    // Frames written to the file so far (any thread).
    std::int64_t frames_written() const { return frames_written_.load(); }
    // The first write error; empty when none. Read after stop or close.
    const std::string& error() const { return writer_.error(); }

protected:
    bool on_open(const DeviceFormat& format) override;
    void consume(const std::uint8_t* data, std::size_t bytes) override;
    void on_halt() override;
    void on_close() override;

private:
    const std::string path_;
    const std::int64_t max_frames_;
    int bytes_per_frame_ = 4;
    std::atomic<std::int64_t> frames_written_{0};
    WavWriter writer_;
};

}  // namespace dz
