#include "audio/WavFileDevice.h"

#include <algorithm>

namespace dz {

WavFileDevice::WavFileDevice(std::string path, Pace pace, std::int64_t max_frames, double speed)
    : ThreadedDevice(pace, speed), path_(std::move(path)), max_frames_(max_frames) {}

bool WavFileDevice::on_open(const DeviceFormat& format) {
    bytes_per_frame_ = format.bytes_per_frame();
    frames_written_ = 0;
    return writer_.open(path_, format.channels, format.sample_rate, format.bits);
}

void WavFileDevice::consume(const std::uint8_t* data, std::size_t bytes) {
    std::int64_t frames = static_cast<std::int64_t>(bytes) / bytes_per_frame_;
    if (max_frames_ > 0) frames = std::min(frames, max_frames_ - frames_written_.load());
    if (frames <= 0) return;
    if (writer_.write(data, static_cast<std::size_t>(frames) * bytes_per_frame_)) {
        frames_written_ += frames;
    }
}

// Runs after the device thread has halted, so the writer is not in use.
void WavFileDevice::on_halt() {
    writer_.update_header();
}

void WavFileDevice::on_close() {
    writer_.finish();
}

}  // namespace dz
