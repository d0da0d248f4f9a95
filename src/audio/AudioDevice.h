#pragma once
// An output that pulls PCM from a fill function on a thread of its own.
//
// Life cycle: open (paused) → start → stop → start … → close. The calls are
// made from one thread at a time (the owner may hand the device to another
// thread between calls); only the fill function runs on the device's thread.

#include <string>

#include "audio/DeviceFormat.h"

namespace dz {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Opens the output paused with `format`; `fill` is called once started.
    // Closes a previous open first. False when the format is not valid or no
    // output can be opened; the device is then closed.
    virtual bool open(const DeviceFormat& format, FillFunction fill) = 0;
    // Begins pulling. False when not open.
    virtual bool start() = 0;
    // Pauses. When it returns, fill is not running and is not called again
    // until the next start.
    virtual void stop() = 0;
    // Stops and releases the output. Safe to call when closed.
    virtual void close() = 0;

    virtual bool is_open() const = 0;
    // The format of the open output (the requested one; devices convert).
    virtual const DeviceFormat& format() const = 0;
    // Frames requested by one pull of the open output.
    virtual int buffer_frames() const = 0;
    // A short name for messages: "sdl:pulseaudio", "null", "wav:out.wav".
    virtual std::string name() const = 0;
    // True once the open output has gone (its device was removed or its sound server
    // ended); it stays lost until closed, and fill is no longer called. Devices that cannot
    // lose their output (null, file) never are. Owner's thread.
    virtual bool is_lost() const { return false; }
};

}  // namespace dz
