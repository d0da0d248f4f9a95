#pragma once
// An output without sound: pulls buffers at the real rate and discards them,
// so a player keeps time (positions advance, tunes end) without a sound card.

#include "audio/ThreadedDevice.h"

namespace dz {

class NullAudioDevice : public ThreadedDevice {
public:
    explicit NullAudioDevice(double speed = 1.0) : ThreadedDevice(Pace::real_time, speed) {}
    ~NullAudioDevice() override { close(); }
    std::string name() const override { return "null"; }
};

}  // namespace dz
