#pragma once
// A scripted AudioLibrary for tests: records every call, lets the test decide
// which paths load, what the loaded tune reports, whether it streams and where
// the stream is. No sound, no threads.

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/AudioLibrary.h"

namespace dz {

struct FakeTune {
    TuneInformation info{4, 120.0f, 480, 8};
    int play_meas = 8;
    int repeat_meas = 0;
    std::string name;
    std::string comment;
};

class FakeAudioLibrary : public AudioLibrary {
public:
    // Paths that load, with what they report. Any other path fails to load. Filled
    // before other threads read details (read_tune_details reads it from any thread).
    std::map<std::string, FakeTune> tunes;

    // Test-controlled stream state.
    std::atomic<bool> streaming{false};
    std::atomic<int> stop_result{0};                     // returned by pxtone_Tune_Stop
    std::atomic<OutputStatus> output{OutputStatus::ok};  // returned by poll_output
    std::vector<std::string> devices;                    // returned by output_devices

    // What the library saw.
    std::vector<std::string> calls;  // e.g. "Load a.ptcop", "Start 0 0 1.00", "Stop"
    std::string loaded;              // path of the loaded tune; empty when none
    AudioFormat format;
    PositionCallback callback;
    bool loop = false;
    float volume = 1.0f;
    int start_sample = -1;             // argument of the last start
    std::atomic<int> detail_reads{0};  // read_tune_details calls (any thread)

    // The play plan and the next tune as last set (not logged: the player sets the next
    // tune at every tick).
    int loops = 1;
    int fade_seconds = 0;
    std::string next_tune;
    std::atomic<int> handover_count{0};

    // The loaded tune ends and the next one takes over, as the audio thread does when one is
    // set and loads; false (nothing changes) otherwise.
    bool hand_over() {
        if (next_tune.empty() || tunes.count(next_tune) == 0) return false;
        loaded = next_tune;
        next_tune.clear();
        ++handover_count;
        return true;
    }
    // Sends a position to the callback, as the audio thread would.
    void report_position(int clock) {
        if (callback) callback(clock);
    }
    // The loaded tune reaches its end: streaming stops unless the loop is on.
    void finish_tune() {
        if (!loop) streaming = false;
    }
    std::vector<std::string> take_calls() {
        std::lock_guard<std::mutex> g(mutex_);
        std::vector<std::string> out;
        out.swap(calls);
        return out;
    }

    bool pxtone_Ready(const AudioFormat& f, PositionCallback cb) override;
    bool pxtone_Reset(const AudioFormat& f, PositionCallback cb) override;
    bool pxtone_Tune_Load(const std::string& path) override;
    bool pxtone_Tune_Start(int start_sample, int fade_in, float volume) override;
    int pxtone_Tune_Stop() override;
    bool pxtone_Tune_IsStreaming() override;
    bool pxtone_Tune_SetVolume(float volume) override;
    bool pxtone_Tune_SetLoop(bool loop) override;
    AudioFormat output_format() const override { return format; }
    bool pxtone_Tune_GetInformation(TuneInformation& info) override;
    int pxtone_Tune_GetPlayMeas() override;
    int pxtone_Tune_GetRepeatMeas() override;
    std::string pxtone_Tune_GetName() override;
    std::string pxtone_Tune_GetComment() override;
    // From `tunes`, like a load; counted in `detail_reads`, not logged in `calls`.
    std::optional<TuneDetails> read_tune_details(const std::string& path) override;
    bool pxtone_Tune_Release() override;
    bool pxtone_Release() override;
    void set_play_plan(int l, int fade) override {
        loops = l;
        fade_seconds = fade;
    }
    void set_next_tune(const std::string& path) override { next_tune = path; }
    int handovers() const override { return handover_count.load(); }
    // Not logged: the player polls at every tick.
    OutputStatus poll_output() override { return output.load(); }
    std::vector<std::string> output_devices() override { return devices; }

private:
    void log(std::string entry);
    const FakeTune* current() const;
    std::mutex mutex_;
};

}  // namespace dz
