#pragma once
// The sound card through SDL2's audio subsystem.
//
// Driver choice: `default_driver` true uses SDL's default (which honours
// SDL_AUDIODRIVER); false uses the "alsa" driver when SDL has it and it
// opens, else the default. An SDL_AUDIODRIVER set in the environment wins
// over both, so tests and users can force a driver.
//
// Output choice: DeviceFormat::device names one of the driver's outputs
// (output_names()); a name the driver does not list now, or one that does not open,
// gives the driver's default output.
//
// Loss: when SDL reports the device gone (its sound server ended, the card was
// removed), SDL keeps calling back at the device's pace; the callback then writes
// silence without calling fill, so nothing more is rendered for a dead output, and
// is_lost() says so.
//
// SDL's audio subsystem is process-wide and its set-up calls are not thread-safe:
// every call that initialises, opens, closes or lists goes through one process-wide
// lock, and the driver is switched only while no other SdlAudioDevice is open.

#include <SDL.h>

#include <string>
#include <vector>

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
    // The names of the current driver's outputs (SDL's list), for a choice by name. Empty
    // when SDL's audio cannot start, or when an opening or closing on another thread holds
    // the audio lock for more than a second. Any thread.
    static std::vector<std::string> output_names();

    bool open(const DeviceFormat& format, FillFunction fill) override;
    bool start() override;
    void stop() override;
    void close() override;
    bool is_open() const override { return device_ != 0; }
    const DeviceFormat& format() const override { return format_; }
    int buffer_frames() const override { return buffer_frames_; }
    std::string name() const override { return "sdl:" + driver_; }
    bool is_lost() const override;

    // The SDL error of the last failed open; empty when none.
    const std::string& error() const { return error_; }

private:
    static void SDLCALL callback(void* self, Uint8* stream, int len);
    bool open_device();
    // The listed output whose name is format_.device; null for the default output.
    const char* chosen_output() const;

    SDL_AudioDeviceID device_ = 0;
    bool subsystem_ = false;
    DeviceFormat format_;
    int buffer_frames_ = 0;
    FillFunction fill_;
    std::string driver_;
    std::string error_;
};

}  // namespace dz
