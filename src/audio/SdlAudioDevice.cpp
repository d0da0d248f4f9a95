#include "audio/SdlAudioDevice.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

namespace dz {
namespace {

// Process-wide bookkeeping of SDL's audio, under `audio_lock`. SDL_AudioInit closes every
// open device, so it is called only while none of ours is open.
// A plain mutex: ThreadSanitizer does not see the clock-based lock of a timed mutex and
// reports its unlock as one of an unlocked mutex.
std::mutex audio_lock;
int open_devices = 0;
std::string forced_driver;  // the driver we initialised; empty = SDL's default

bool driver_compiled_in(const char* name) {
    for (int i = 0, n = SDL_GetNumAudioDrivers(); i < n; ++i) {
        const char* d = SDL_GetAudioDriver(i);
        if (d && std::strcmp(d, name) == 0) return true;
    }
    return false;
}

bool environment_forces_driver() {
    const char* env = SDL_getenv("SDL_AUDIODRIVER");
    return env && *env;
}

// Initialises `driver` (empty: SDL's default). Needs audio_lock and no open device.
bool switch_driver(const std::string& driver) {
    const char* current = SDL_GetCurrentAudioDriver();
    if (current) {
        if (driver.empty() && forced_driver.empty()) return true;
        if (!driver.empty() && driver == current) return true;
    }
    if (SDL_AudioInit(driver.empty() ? nullptr : driver.c_str()) == 0) {
        forced_driver = driver;
        return true;
    }
    return false;
}

bool init_audio() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace

void SdlAudioDevice::release_thread_state() {
    SDL_TLSCleanup();
}

std::vector<std::string> SdlAudioDevice::output_names() {
    std::vector<std::string> names;
    // At most about 1 s: an opening holds the lock for as long as the sound system takes.
    std::unique_lock<std::mutex> lock(audio_lock, std::defer_lock);
    for (int i = 0; i < 100 && !lock.try_lock(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!lock.owns_lock() || !init_audio()) return names;
    for (int i = 0, n = SDL_GetNumAudioDevices(0); i < n; ++i) {
        const char* name = SDL_GetAudioDeviceName(i, 0);
        if (name && *name) names.emplace_back(name);
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // The caller's thread is not SDL's: its SDL state (set up by the calls above) goes now.
    release_thread_state();
    return names;
}

bool SdlAudioDevice::open(const DeviceFormat& format, FillFunction fill) {
    close();
    error_.clear();
    if (!format.valid()) {
        error_ = "unsupported format";
        return false;
    }
    std::lock_guard<std::mutex> lock(audio_lock);
    if (!init_audio()) {
        error_ = SDL_GetError();
        return false;
    }
    subsystem_ = true;
    format_ = format;
    fill_ = std::move(fill);

    const bool want_alsa =
        !format.default_driver && !environment_forces_driver() && driver_compiled_in("alsa");
    bool opened = false;
    if (open_devices == 0) {
        if (want_alsa && switch_driver("alsa")) opened = open_device();
        if (!opened && switch_driver("")) opened = open_device();
    } else {
        opened = open_device();
    }
    if (!opened) {
        fill_ = nullptr;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
        return false;
    }
    ++open_devices;
    return true;
}

const char* SdlAudioDevice::chosen_output() const {
    if (format_.device.empty()) return nullptr;
    for (int i = 0, n = SDL_GetNumAudioDevices(0); i < n; ++i) {
        const char* name = SDL_GetAudioDeviceName(i, 0);
        if (name && format_.device == name) return name;
    }
    return nullptr;
}

bool SdlAudioDevice::open_device() {
    SDL_AudioSpec want{};
    want.freq = format_.sample_rate;
    want.format = format_.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = static_cast<Uint8>(format_.channels);
    want.samples = static_cast<Uint16>(std::min(format_.buffer_frames(), 32768));
    want.callback = &SdlAudioDevice::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the hardware takes. A chosen output that
    // does not open gives way to the default one.
    const char* output = chosen_output();
    device_ = SDL_OpenAudioDevice(output, 0, &want, &have, 0);
    if (device_ == 0 && output) device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        error_ = SDL_GetError();
        return false;
    }
    buffer_frames_ = have.samples;
    const char* driver = SDL_GetCurrentAudioDriver();
    driver_ = driver ? driver : "";
    return true;
}

// SDL_GetAudioDeviceStatus reads the device's flags without a lock; the device exists
// until close(), which runs on the owner's thread as this does.
bool SdlAudioDevice::is_lost() const {
    return device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED;
}

void SDLCALL SdlAudioDevice::callback(void* self, Uint8* stream, int len) {
    auto* device = static_cast<SdlAudioDevice*>(self);
    const int bytes_per_frame = device->format_.bytes_per_frame();
    // SDL asks for whole frames of the format it opened with. A removed device is still
    // called at its pace; what it is given goes nowhere.
    const int frames = len / bytes_per_frame;
    if (device->fill_ && frames > 0 && !device->is_lost()) {
        device->fill_(stream, frames);
    } else {
        std::memset(stream, device->format_.bits == 8 ? 0x80 : 0, static_cast<std::size_t>(len));
    }
}

bool SdlAudioDevice::start() {
    if (device_ == 0) return false;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

// SDL runs the callback under the device lock, which pausing takes: once this
// returns the callback has finished and is not called again while paused.
void SdlAudioDevice::stop() {
    if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
}

void SdlAudioDevice::close() {
    std::lock_guard<std::mutex> lock(audio_lock);
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
        // The last device's SDL_QuitSubSystem below ends SDL's audio; the next
        // initialisation starts again from SDL's default driver.
        if (--open_devices == 0) forced_driver.clear();
    }
    fill_ = nullptr;
    if (subsystem_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
    }
}

}  // namespace dz
