#include "app/MediaBridge.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "app/CommandTable.h"
#include "app/ShownTitle.h"
#include "base/PathUtil.h"
#include "state/HookCalls.h"
#include "state/TagUserData.h"

namespace dz {

namespace {

std::int64_t Micros(double seconds) {
    return static_cast<std::int64_t>(std::llround(seconds * 1e6));
}

// Seeks the playing tune to `micros`, as the seek bar does.
void SeekTo(tagPLAYER& p, std::int64_t micros) {
    const double sample = static_cast<double>(micros) * p.sample_rate / 1e6;
    p.seek(sample <= 0 ? 0 : static_cast<int>(sample));
}

// a + b, held at the ends of the range instead of wrapping.
std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b > 0 ? std::numeric_limits<std::int64_t>::max()
                 : std::numeric_limits<std::int64_t>::min();
}

// A local path as an absolute one: relative entries are taken from the folder the player
// runs in (its current folder). URLs stay as they are.
std::string AbsoluteLocation(const std::string& path) {
    if (path.empty() || path.front() == '/' || path_is_url(path)) return path;
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    if (ec) return path;
    return path_combine(cwd.string(), path);
}

}  // namespace

MediaState ReadMediaState(TAG_USERDATA& d) {
    tagPLAYER& p = d.player;
    MediaState s;
    // A tune held by a lost output is Paused: its position stands until the output is back.
    const bool held = p.output == OutputStatus::lost;
    s.status = !p.is_playing           ? MediaState::Status::Stopped
               : (p.is_paused || held) ? MediaState::Status::Paused
                                       : MediaState::Status::Playing;
    if (const tagTUNEINFO* e = p.entry(p.current_index)) {
        s.track = p.current_index;
        s.title = ShownTitle(*e);
        s.location = AbsoluteLocation(e->path);
        s.length_us = Micros(e->length_seconds);
    }
    s.volume = p.volume;
    s.shuffle = d.shuffle != 0;
    s.repeat = d.repeat != 0;
    s.can_play = !p.playlist.empty();
    s.can_go_next = p.playlist.in_range(p.next_index(p.current_index));
    s.can_go_previous = p.playlist.in_range(p.prev_index(p.current_index));
    s.can_seek = p.is_playing && s.length_us > 0;
    s.seeks = p.seek_count;
    s.position_us = p.is_playing ? Micros(p.position_seconds.load()) : 0;
    return s;
}

void RunMediaRequest(TAG_USERDATA& d, const MediaRequest& r) {
    tagPLAYER& p = d.player;
    // The play key with an empty list asks for files: a remote request never does.
    const bool can_start = !p.is_playing && !p.playlist.empty();
    switch (r.kind) {
        case MediaRequest::Kind::Play:
            if (p.is_paused)
                dispatch_command(kCmdPause, &d);
            else if (can_start)
                dispatch_command(kCmdPlay, &d);
            break;
        case MediaRequest::Kind::Pause:
            if (p.is_playing && !p.is_paused) dispatch_command(kCmdPause, &d);
            break;
        case MediaRequest::Kind::PlayPause:
            if (p.is_playing)
                dispatch_command(kCmdPause, &d);
            else if (can_start)
                dispatch_command(kCmdPlay, &d);
            break;
        case MediaRequest::Kind::Stop:
            dispatch_command(kCmdStop, &d);
            break;
        case MediaRequest::Kind::Next:
            dispatch_command(kCmdNext, &d);
            break;
        case MediaRequest::Kind::Previous:
            dispatch_command(kCmdPrevious, &d);
            break;
        case MediaRequest::Kind::SeekBy: {
            const tagTUNEINFO* e = p.entry(p.current_index);
            if (!p.is_playing || !e || e->length_seconds <= 0) break;
            const std::int64_t target = SaturatingAdd(Micros(p.position_seconds.load()), r.micros);
            if (target >= Micros(e->length_seconds))
                dispatch_command(kCmdNext, &d);
            else
                SeekTo(p, target);
            break;
        }
        case MediaRequest::Kind::SetPosition: {
            const tagTUNEINFO* e = p.entry(p.current_index);
            if (!p.is_playing || !e || r.track != p.current_index) break;
            const std::int64_t length = Micros(e->length_seconds);
            if (r.micros < 0 || r.micros > length) break;
            if (r.micros == length)
                dispatch_command(kCmdNext, &d);  // the end of the tune, as a seek past it
            else
                SeekTo(p, r.micros);
            break;
        }
        case MediaRequest::Kind::SetVolume: {
            const float v = static_cast<float>(r.volume < 0 ? 0.0 : r.volume > 1 ? 1.0 : r.volume);
            if (!(v == v) || v == p.volume) break;
            p.set_volume(v);
            save_settings(d);
            break;
        }
        case MediaRequest::Kind::SetShuffle:
            if ((d.shuffle != 0) != r.on) dispatch_command(kCmdShuffle, &d);
            break;
        case MediaRequest::Kind::SetRepeat:
            if ((d.repeat != 0) != r.on) dispatch_command(kCmdRepeat, &d);
            break;
    }
}

}  // namespace dz
