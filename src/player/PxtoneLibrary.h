#pragma once
// The audio library over our pxtone engine and an AudioDevice.
//
// Threads: the pxtone_* calls come from one controlling thread (the worker;
// the UI thread at start-up and shutdown). The device's thread renders in
// fill(), which takes `mutex_` for the duration of one buffer; the control
// calls take it only to swap or change state, and never hold it while they
// load or prepare a tune or start, stop or close the device (stopping waits
// for a running fill, which may be waiting for the mutex). Nothing is
// allocated on the device thread.
//
// The position callback runs on the device thread once per rendered buffer
// while streaming, after the buffer is complete, without any lock held. It
// may call pxtone_Tune_IsStreaming (lock-free) but no other call.
//
// Output: the device made by the factory (SDL by default), kept by a DeviceKeeper;
// when it cannot be opened, a real-time null device stands in, so positions advance and
// tunes end on time without a sound card, while the device is retried. Devices open and
// close on a thread of their own (opening a sound card can take hundreds of
// milliseconds): Ready and Reset return at once, and the calls that need the device
// (Start, device_name, Release) wait until the latest Ready or Reset has opened one.
// poll_output notices a lost device; the stream then holds at the sample reached (fill
// is no longer called) and goes on from there once a retry has reopened the output.
//
// Loop off, a tune plays its PlayPlan: fill renders with looping on for the plan's looping
// frames, then off, fades the plan's last frames and ends at its total. A next tune
// (set_next_tune) is loaded and prepared by a TunePreparer and installed under the mutex;
// fill swaps it in within the buffer where the current tune ends and parks the old tune,
// which the controlling thread frees at its next call (the device thread frees nothing).

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/DeviceFormat.h"
#include "audio/DeviceKeeper.h"
#include "platform/AudioLibrary.h"
#include "player/TunePreparer.h"
#include "pxtone/PlayPlan.h"

namespace pxtone {
class Project;
class Renderer;
}  // namespace pxtone

namespace dz {

class PxtoneLibrary : public AudioLibrary {
public:
    using DeviceFactory = std::function<std::unique_ptr<AudioDevice>()>;
    using DeviceLister = std::function<std::vector<std::string>()>;

    // `factory` makes the preferred output for each Ready/Reset and each retry; empty: SDL.
    // `lister` names the outputs that may be chosen; empty: SDL's list.
    explicit PxtoneLibrary(DeviceFactory factory = {}, DeviceLister lister = {});
    ~PxtoneLibrary() override;
    PxtoneLibrary(const PxtoneLibrary&) = delete;
    PxtoneLibrary& operator=(const PxtoneLibrary&) = delete;

    bool pxtone_Ready(const AudioFormat& format, PositionCallback callback) override;
    bool pxtone_Reset(const AudioFormat& format, PositionCallback callback) override;
    bool pxtone_Tune_Load(const std::string& path) override;
    // A negative start sample is taken as 0; a start at or past the end
    // sample starts at 0. `fade_in` is in milliseconds (0: none).
    bool pxtone_Tune_Start(int start_sample, int fade_in, float volume) override;
    int pxtone_Tune_Stop() override;
    bool pxtone_Tune_IsStreaming() override;
    bool pxtone_Tune_SetVolume(float volume) override;
    bool pxtone_Tune_SetLoop(bool loop) override;
    // measure_count is the measures of one play-through (the last measure
    // when the tune sets one), as the information call has always reported.
    bool pxtone_Tune_GetInformation(TuneInformation& info) override;
    int pxtone_Tune_GetPlayMeas() override;
    int pxtone_Tune_GetRepeatMeas() override;
    std::string pxtone_Tune_GetName() override;
    std::string pxtone_Tune_GetComment() override;
    // Reads the file into a project of its own (no tone preparation); any thread.
    std::optional<TuneDetails> read_tune_details(const std::string& path) override;
    bool pxtone_Tune_Release() override;
    bool pxtone_Release() override;
    void set_play_plan(int loops, int fade_seconds) override;
    void set_next_tune(const std::string& path) override;
    int handovers() const override { return handovers_.load(); }
    OutputStatus poll_output() override;
    std::vector<std::string> output_devices() override;

    // The open output's name ("sdl:alsa", "null"); empty when none is open.
    std::string device_name();
    // The format in use after Ready/Reset (unsupported values replaced by defaults).
    const AudioFormat& format() const { return format_; }
    AudioFormat output_format() const override { return format_; }
    // The loaded tune's end sample at the output rate (preparing it for the output
    // if it has not played yet); 0 when none.
    std::int64_t end_sample();
    // Why the last pxtone_Tune_Load failed ("truncated at byte 120"); empty after a success.
    const std::string& load_error() const { return load_error_; }
    // True once the tune asked for by set_next_tune is prepared and waits for its turn.
    bool next_ready();

private:
    bool open_output(const AudioFormat& format, PositionCallback callback);
    void stop_stream();
    // Builds the renderer of the loaded tune for the output format if there is none.
    // False without a tune or when it cannot be played in this format (load_error_ says).
    bool ensure_prepared();
    void fill(std::uint8_t* buffer, int frames);  // device thread
    // Under the lock: renders the current tune's play into `out` (up to `frames`); returns
    // the frames produced, fewer when the play ended.
    int render_play(std::uint8_t* out, int frames);
    // Under the lock: the plan of the current renderer with the plan settings.
    void make_plan();
    // Under the lock, device thread: the next tune becomes the current one from its start.
    void hand_over();
    // Preparing thread: keeps a prepared tune that is still the one asked for.
    void take_prepared(std::uint64_t ticket, TunePreparer::Prepared prepared);
    // Frees the tune a hand-over parked (controlling thread).
    void free_parked();

    DeviceLister lister_;
    AudioFormat format_;
    PositionCallback callback_;  // set only while no device pulls
    DeviceKeeper output_;
    std::string load_error_;

    mutable std::mutex mutex_;  // guards the members below against fill()
    std::unique_ptr<pxtone::Project> project_;
    std::unique_ptr<pxtone::Renderer> renderer_;
    pxtone::OutputFormat fill_format_;  // format_ as fill writes it
    bool loop_ = false;
    float volume_ = 1.0f;
    std::atomic<bool> streaming_{false};
    bool ending_ = false;  // the last buffer of a non-looping tune was rendered
    // The play with the loop off: loops and fade from set_play_plan, the plan of the current
    // renderer, the play position of the next frame, the clocks of one loop part.
    int plan_loops_ = 1;
    int plan_fade_seconds_ = 0;
    pxtone::PlayPlan plan_;
    std::int64_t play_position_ = 0;
    std::int32_t loop_clocks_ = 0;
    // The next tune: its path (empty: none wanted), the ticket of its request, and the tune
    // once prepared.
    std::string next_path_;
    std::uint64_t next_ticket_ = 0;
    std::unique_ptr<pxtone::Project> next_project_;
    std::unique_ptr<pxtone::Renderer> next_renderer_;
    // The tune a hand-over replaced, parked until the controlling thread frees it.
    std::unique_ptr<pxtone::Project> parked_project_;
    std::unique_ptr<pxtone::Renderer> parked_renderer_;
    std::atomic<int> handovers_{0};

    std::uint64_t tickets_ = 0;  // controlling thread
    // Last member: its thread delivers into the members above until it is destroyed.
    TunePreparer preparer_;
};

}  // namespace dz
