#pragma once
// The worker's message queue: commands, dropped files, wheel rows, requests of the
// desktop media controls and the request to leave the loop, in the order they were posted. Posting
// wakes a waiting worker at once.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/MediaRemote.h"

namespace dz {

struct WorkerMessage {
    // Drop: files dropped on the window; Open: paths from a command line; Media: a request
    // of the media controls; MediaPublish: nothing but a fresh copy of the media state.
    enum class Kind { Command, Quit, Drop, WheelRow, Open, Media, MediaPublish };
    Kind kind = Kind::Command;
    int value = 0;  // command id, or the wheel direction (-1 up, +1 down)
    std::vector<std::string> paths;
    MediaRequest media;

    static WorkerMessage command(int id) { return make(Kind::Command, id); }
    static WorkerMessage quit() { return make(Kind::Quit, 0); }
    static WorkerMessage wheel_row(int direction) { return make(Kind::WheelRow, direction); }
    static WorkerMessage drop(std::vector<std::string> files) {
        WorkerMessage m = make(Kind::Drop, 0);
        m.paths = std::move(files);
        return m;
    }
    static WorkerMessage media_request(const MediaRequest& r) {
        WorkerMessage m = make(Kind::Media, 0);
        m.media = r;
        return m;
    }
    static WorkerMessage media_publish() { return make(Kind::MediaPublish, 0); }
    static WorkerMessage open(std::vector<std::string> files) {
        WorkerMessage m = make(Kind::Open, 0);
        m.paths = std::move(files);
        return m;
    }

private:
    static WorkerMessage make(Kind k, int v) {
        WorkerMessage m;
        m.kind = k;
        m.value = v;
        return m;
    }
};

class WorkerQueue {
public:
    void post(WorkerMessage message);
    std::optional<WorkerMessage> try_pop();
    // Waits until a message is queued or `deadline` passes.
    void wait_until(std::chrono::steady_clock::time_point deadline);

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<WorkerMessage> queue_;
};

}  // namespace dz
