#pragma once
// The PCM format an audio device is opened with, and the output that plays it.
//
// Samples are interleaved (left, right in stereo). 16-bit samples are signed,
// native little-endian; 8-bit samples are unsigned with 128 as silence.

#include <cstdint>
#include <functional>
#include <string>

namespace dz {

struct DeviceFormat {
    int channels = 2;             // 1 or 2
    int sample_rate = 44100;      // frames per second, 8000-192000
    int bits = 16;                // 8 or 16
    float buffer_seconds = 0.1f;  // length of one pull
    bool default_driver = true;   // false: prefer SDL's ALSA driver when it exists
    // The output by the name the driver lists it under; empty, or a name not listed now:
    // the driver's default output.
    std::string device;

    int bytes_per_frame() const { return channels * (bits / 8); }
    // True when channels, rate and bits are ones every device accepts.
    bool valid() const;
    // Frames in one device buffer: buffer_seconds at the rate (rounded), kept within
    // 64 frames and 2 seconds (a non-finite length gives 0.1 s).
    int buffer_frames() const;

    bool operator==(const DeviceFormat&) const = default;
};

// Writes `frames` frames of PCM into `buffer` (frames × bytes_per_frame bytes).
// Runs on the device's thread; it must not block for long.
using FillFunction = std::function<void(std::uint8_t* buffer, int frames)>;

}  // namespace dz
