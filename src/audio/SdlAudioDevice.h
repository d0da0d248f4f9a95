#pragma once
// The sound card through SDL2's audio subsystem.
//
// Driver choice: `default_driver` true uses SDL's default (which honours
// SDL_AUDIODRIVER); false uses the "alsa" driver when SDL has it and it
// opens, else the default. An SDL_AUDIODRIVER set in the environment wins
// over both, so tests and users can force a driver.
//
// SDL's audio subsystem is process-wide: the driver is switched only while no
// other SdlAudioDevice is open.

#include <SDL.h>

#include <string>

#include "audio/AudioDevice.h"

namespace dz {

class SdlAudioDevice : public AudioDevice {
public:
    SdlAudioDevice() = default;
    ~SdlAudioDevice() override { close(); }
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    // SDL keeps state for each thread that calls it (its error text); a thread SDL did not
    // make calls this before it ends, or that state is never freed.
    static void release_thread_state();

    bool open(const DeviceFormat& format, FillFunction fill) override;
    bool start() override;
    void stop() override;
    void close() override;
    bool is_open() const override { return device_ != 0; }
    const DeviceFormat& format() const override { return format_; }
    int buffer_frames() const override { return buffer_frames_; }
    std::string name() const override { return "sdl:" + driver_; }

    // The SDL error of the last failed open; empty when none.
    const std::string& error() const { return error_; }

private:
    static void SDLCALL callback(void* self, Uint8* stream, int len);
    bool open_device();

    SDL_AudioDeviceID device_ = 0;
    bool subsystem_ = false;
    DeviceFormat format_;
    int buffer_frames_ = 0;
    FillFunction fill_;
    std::string driver_;
    std::string error_;
};

}  // namespace dz
