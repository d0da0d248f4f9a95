#pragma once
// The player as a desktop media controller (media keys, panel widgets) sees it: the
// state it shows and the requests it may make. The application implements MediaRemote;
// platform/qt serves it on the session bus.
//
// Threads: every MediaRemote method is called on the UI thread. Requests run later on the
// worker, through the same command handlers as the keys; the state is a copy the worker
// publishes after each message it handles and at each present tick.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dz {

struct MediaState {
    enum class Status { Stopped, Playing, Paused };
    Status status = Status::Stopped;
    int track = -1;              // playlist index of the current tune; -1 for none
    std::string title;           // UTF-8
    std::string location;        // local path or URL as listed; "" for none
    std::int64_t length_us = 0;  // microseconds; 0 when unknown
    double volume = 1.0;         // 0.0-1.0
    bool shuffle = false;
    bool repeat = false;  // the tune loops at its repeat point
    bool can_play = false;
    bool can_go_next = false;
    bool can_go_previous = false;
    bool can_seek = false;
    // Counts the jumps of the play position (every seek, whoever asked for it).
    int seeks = 0;
    // Microseconds; not compared by ==, it moves while a tune plays.
    std::int64_t position_us = 0;

    bool operator==(const MediaState& o) const {
        return status == o.status && track == o.track && title == o.title &&
               location == o.location && length_us == o.length_us && volume == o.volume &&
               shuffle == o.shuffle && repeat == o.repeat && can_play == o.can_play &&
               can_go_next == o.can_go_next && can_go_previous == o.can_go_previous &&
               can_seek == o.can_seek && seeks == o.seeks;
    }
};

struct MediaRequest {
    enum class Kind {
        Play,       // start, or resume a paused tune; nothing while playing
        Pause,      // pause a playing tune; nothing otherwise
        PlayPause,  // pause a playing tune, resume a paused one, start a stopped one
        Stop,
        Next,
        Previous,
        SeekBy,       // micros from the position; past the end it is Next
        SetPosition,  // to micros, when `track` is still the current tune
        SetVolume,    // to `volume`, clamped to 0.0-1.0
        SetShuffle,   // to `on`
        SetRepeat,    // to `on`
    };
    Kind kind = Kind::Play;
    std::int64_t micros = 0;
    int track = -1;
    double volume = 0.0;
    bool on = false;
};

class MediaRemote {
public:
    virtual ~MediaRemote() = default;

    // Queues a request for the worker; dropped before the worker runs.
    virtual void media_request(const MediaRequest& request) = 0;
    // The last published state (the position at most one present tick old).
    virtual MediaState media_state() = 0;
    // `on_change` runs on the UI thread after the state changed in more than its position.
    // Until a listener is set nothing is published; an empty function stops it again.
    virtual void set_media_listener(std::function<void()> on_change) = 0;
    // Paths or URLs to add and play, as a later start's command line.
    virtual void media_open(std::vector<std::string> paths) = 0;
};

}  // namespace dz
