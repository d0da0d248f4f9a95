#pragma once
// The process's spine: the application state, the world, the worker thread and
// the window procedure (the platform's window reports through WindowEvents), and
// the player as the desktop media controls see it (MediaRemote).
//
// Threads: create(), start_worker() and every WindowEvents method run on the UI
// thread; worker_main() is the worker. They meet through the worker queue, the
// world's lock and the host's cross-thread calls.
//
// Close sequence: close request -> the worker finishes the running command and
// leaves its loop -> it asks the UI thread to end it -> the UI thread joins it and
// destroys the window -> on_destroy runs the shutdown sequence once and ends the
// UI loop -> the owner destroys the Application: the world, then the state.

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "app/WorkerQueue.h"
#include "edx/EdxWorld.h"
#include "platform/AudioLibrary.h"
#include "platform/MediaRemote.h"
#include "platform/PlatformServices.h"
#include "platform/PopupMenus.h"
#include "platform/WindowEvents.h"
#include "platform/WindowHost.h"
#include "state/AppHooks.h"
#include "state/TagUserData.h"

namespace dz {

class Application : public WindowEvents, public MediaRemote {
public:
    static constexpr int kClientWidth = 275;
    static constexpr int kClientHeight = 116;
    static constexpr int kPresentIntervalMs = 100;

    Application(WindowHost& host, AudioLibrary& library, AppHooks hooks = {},
                PlatformServices services = {});
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // UI thread, the window exists hidden: centre it in the work area, build the state and
    // the world, attach (the initialisation runs, the first frame is shown).
    void create();
    // UI thread: start the worker (first step of the UI loop).
    void start_worker();

    TAG_USERDATA* state() { return state_.get(); }
    EdxWorld* world() { return world_.get(); }
    WorkerQueue& queue() { return queue_; }

    // ---- WindowEvents (UI thread) ----
    void on_paint(const std::function<void(const FrameView&)>& draw) override;
    void on_close_request() override;
    void on_destroy() override;
    void on_focus(bool has_focus) override;
    void on_key(int vk, bool down, bool ctrl, bool alt, bool shift) override;
    void on_command(int id) override;
    void on_mouse_button(int message, std::uint32_t wparam) override;
    void on_mouse_move() override;
    void on_wheel(int delta) override;
    void on_drop(std::vector<std::string> paths) override;

    // UI thread: paths from a command line (this process's or a later start's) go to the
    // worker as one message (open_paths: folders scanned, added, the first new entry played).
    // Nothing happens before the worker runs.
    void open_paths(std::vector<std::string> paths);

    // ---- MediaRemote (UI thread) ----
    void media_request(const MediaRequest& request) override;
    MediaState media_state() override;
    void set_media_listener(std::function<void()> on_change) override;
    void media_open(std::vector<std::string> paths) override { open_paths(std::move(paths)); }

private:
    void worker_main();
    void on_worker_ended();
    void handle(WorkerMessage& message);
    // Worker: copies the media state when a listener is set; a change beyond the position
    // posts one call of the listener to the UI thread.
    void publish_media_state();

    WindowHost& host_;
    AudioLibrary& library_;
    AppHooks hooks_;
    PlatformServices services_;
    // Destroyed in reverse: the world before the state.
    std::unique_ptr<TAG_USERDATA> state_;
    std::unique_ptr<EdxWorld> world_;
    WorkerQueue queue_;
    std::thread worker_;
    std::atomic<bool> worker_started_{false};

    std::mutex media_mutex_;
    MediaState media_state_;                // guarded by media_mutex_
    bool media_on_ = false;                 // guarded: a listener is set
    bool media_notify_pending_ = false;     // guarded: a call of the listener is posted
    std::function<void()> media_listener_;  // UI thread
};

}  // namespace dz
