#pragma once
// The audio library the player drives: one loaded tune at a time, no handles.
// Results that are "boolean bytes" are bool; 1 (true) means success.
//
// Threads: every call is made by the worker thread (the UI thread during
// start-up and shutdown), except read_tune_details, which any thread may make.
// The position callback runs on the audio thread.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dz {

// Output format, in the order the library takes it.
struct AudioFormat {
    int channels = 2;             // 1 or 2
    int sample_rate = 44100;      // samples per second: 11025, 22050, 44100, 48000
    int bits = 16;                // 8 or 16
    float buffer_seconds = 0.1f;  // device buffer length
    bool direct_sound = true;     // true: the system's default sound driver; false: ALSA if present
    std::string device;           // the output by its listed name; empty: the default output
};

// How the sound output stands (poll_output).
enum class OutputStatus {
    ok,        // the output asked for plays
    stand_in,  // it could not be opened: a silent stand-in keeps time while it is retried
    lost,      // it was lost: the stream holds where it was while the output is reopened
};

// Called while streaming with the position in tune clocks; returns 1.
using PositionCallback = std::function<int(int clock)>;

struct TuneInformation {
    int beats_per_measure = 0;
    float tempo = 0;  // beats per minute
    int clocks_per_beat = 0;
    int measure_count = 0;
};

// Everything a tune reports about itself, read without making it the loaded tune.
struct TuneDetails {
    TuneInformation info;
    int play_meas = 0;
    int repeat_meas = 0;
    std::string name;     // raw bytes (Shift-JIS)
    std::string comment;  // raw bytes (Shift-JIS)
};

class AudioLibrary {
public:
    virtual ~AudioLibrary() = default;

    // Opens the output. Called once when the player is built; the result is ignored.
    virtual bool pxtone_Ready(const AudioFormat& format, PositionCallback callback) = 0;
    // Re-opens the output with a new format; the result is ignored.
    virtual bool pxtone_Reset(const AudioFormat& format, PositionCallback callback) = 0;
    // The format in use after Ready/Reset: values the library cannot play are replaced
    // by the defaults.
    virtual AudioFormat output_format() const = 0;

    // Makes the file at `path` the loaded tune; true when it loaded.
    virtual bool pxtone_Tune_Load(const std::string& path) = 0;
    // Starts streaming the loaded tune at `start_sample` (output samples).
    virtual bool pxtone_Tune_Start(int start_sample, int fade_in, float volume) = 0;
    // Stops streaming; returns the sample position reached (the resume position).
    virtual int pxtone_Tune_Stop() = 0;
    // True while sound is produced; false before a start and after a non-looping tune ended.
    virtual bool pxtone_Tune_IsStreaming() = 0;
    // 0.0-1.0; applies to the running stream.
    virtual bool pxtone_Tune_SetVolume(float volume) = 0;
    // When on, the tune never ends by itself.
    virtual bool pxtone_Tune_SetLoop(bool loop) = 0;

    virtual bool pxtone_Tune_GetInformation(TuneInformation& info) = 0;
    virtual int pxtone_Tune_GetPlayMeas() = 0;
    virtual int pxtone_Tune_GetRepeatMeas() = 0;
    // The raw bytes of the loaded tune's name and comment (Shift-JIS); empty when none.
    virtual std::string pxtone_Tune_GetName() = 0;
    virtual std::string pxtone_Tune_GetComment() = 0;

    // What the tune file at `path` reports, as the calls above would after loading it;
    // nothing when it does not load. The loaded tune and the stream are not touched.
    // Any thread, also while the controlling thread makes the other calls.
    virtual std::optional<TuneDetails> read_tune_details(const std::string& path) = 0;

    virtual bool pxtone_Tune_Release() = 0;
    virtual bool pxtone_Release() = 0;

    // How a tune plays while the loop is off: its loop part `loops` times in all (1..99),
    // the last `fade_seconds` of that play (0..60) falling linearly to silence. Positions
    // (the start sample, what Stop returns, the position callback's clock) then count the
    // whole play from the tune's start: the clock goes on past the end of the first pass.
    // Applies to the running stream and to every tune started or handed over later.
    virtual void set_play_plan(int loops, int fade_seconds) = 0;
    // The tune to follow the loaded one without a gap: prepared on a thread of the library's
    // own while the current one plays, it takes over in the audio thread's buffer in which the
    // current one ends (the loop off), from its first sample. An empty path, or another
    // path, drops what was asked before; asking again for the same path keeps it. A loaded or
    // released tune, a new output format and every hand-over drop it too, as does a tune that
    // is not ready when the current one ends (the stream then ends as without one).
    virtual void set_next_tune(const std::string& path) = 0;
    // Hand-overs to a next tune so far. Lock-free: the position callback may call it.
    virtual int handovers() const = 0;

    // Keeps the output going, called about ten times a second: notices a lost output,
    // reopens it in the background with back-off (never waiting for it) and resumes a held
    // stream there. A held stream still counts as streaming: it has not ended.
    virtual OutputStatus poll_output() = 0;
    // The outputs that may be chosen by name (AudioFormat::device), as the sound system
    // lists them now; empty when it lists none.
    virtual std::vector<std::string> output_devices() = 0;
};

}  // namespace dz
