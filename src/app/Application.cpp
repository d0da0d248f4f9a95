#include "app/Application.h"

#include <chrono>

#include "app/AppCallback.h"
#include "app/CommandTable.h"
#include "app/MediaBridge.h"
#include "edx/EdxCodes.h"
#include "edx/EdxDrag.h"
#include "edx/EdxRender.h"
#include "platform/HttpClient.h"
#include "state/HookCalls.h"
#include "state/ListScroll.h"

namespace dz {

Application::Application(WindowHost& host, AudioLibrary& library, AppHooks hooks,
                         PlatformServices services)
    : host_(host), library_(library), hooks_(std::move(hooks)), services_(services) {
    host_.set_events(this);
}

Application::~Application() {
    // Normally the worker has ended in the close sequence. If the UI loop ended some other
    // way, stop serving UI calls first so a worker blocked in one returns, then end it.
    if (worker_.joinable()) {
        host_.stop_ui_calls();
        if (services_.http) services_.http->cancel();
        queue_.post(WorkerMessage::quit());
        worker_.join();
    }
    world_.reset();
    state_.reset();
    host_.set_events(nullptr);
}

void Application::create() {
    // Centre in the work area: half the free width and height, measured from the screen
    // origin. When the work area cannot be read the window stays where it is.
    if (std::optional<Rect> work = host_.work_area()) {
        Rect win = host_.window_rect();
        int x = (work->width() - win.width()) / 2;
        int y = (work->height() - win.height()) / 2;
        host_.move_window(x, y);
    }
    state_ = std::make_unique<TAG_USERDATA>(&host_, library_, hooks_);
    state_->services = services_;
    state_->player.set_http_client(services_.http);
    state_->post_command = [this](int id) { on_command(id); };
    world_ = std::make_unique<EdxWorld>(&host_);
    world_->font.renderer = services_.text;
    Attach(world_.get(), state_.get(), AppWorldHandler);
}

void Application::start_worker() {
    if (worker_started_ || !world_) return;
    worker_started_ = true;
    worker_ = std::thread([this] { worker_main(); });
}

void Application::handle(WorkerMessage& m) {
    TAG_USERDATA* data = state_.get();
    switch (m.kind) {
        case WorkerMessage::Kind::Command:
            dispatch_command(m.value, data);
            break;
        case WorkerMessage::Kind::Drop:
            call_hook(data->hooks.drop_files, *data, m.paths);
            break;
        case WorkerMessage::Kind::Open:
            call_hook(data->hooks.open_paths, *data, m.paths);
            break;
        case WorkerMessage::Kind::WheelRow:
            ScrollOneRow(*data, m.value);
            break;
        case WorkerMessage::Kind::Media:
            RunMediaRequest(*data, m.media);
            break;
        case WorkerMessage::Kind::MediaPublish:
        case WorkerMessage::Kind::Quit:
            break;
    }
}

void Application::worker_main() {
    using Clock = std::chrono::steady_clock;
    EdxWorld* world = world_.get();
    TAG_USERDATA* data = state_.get();
    // Before any message, so paths given at start play over it.
    call_hook(data->hooks.restore_resume_point, *data);
    Clock::time_point next_present = Clock::now();
    bool needs_update = true;
    for (;;) {
        if (std::optional<WorkerMessage> m = queue_.try_pop()) {
            if (m->kind == WorkerMessage::Kind::Quit) break;
            handle(*m);
            publish_media_state();
            continue;
        }
        if (needs_update) {
            Update(world);
            world->send(EDX_FRAME);
            needs_update = false;
        }
        Clock::time_point now = Clock::now();
        if (now > next_present) {
            PaintWindow(world);
            publish_media_state();
            next_present += std::chrono::milliseconds(kPresentIntervalMs);
            if (next_present < now)
                next_present = now + std::chrono::milliseconds(kPresentIntervalMs);
            needs_update = true;
        } else {
            queue_.wait_until(next_present);
        }
    }
    call_hook(data->hooks.save_resume_point, *data);
    host_.post_to_ui_thread([this] { on_worker_ended(); });
}

void Application::on_worker_ended() {
    if (worker_.joinable()) worker_.join();
    host_.destroy_window();
}

// ---- window procedure ----

void Application::on_paint(const std::function<void(const FrameView&)>& draw) {
    if (world_) PaintFrontBuffer(world_.get(), draw);
}

void Application::on_close_request() {
    if (worker_started_) {
        // A download in progress on the worker ends now rather than at its time-out.
        if (services_.http) services_.http->cancel();
        queue_.post(WorkerMessage::quit());
    } else {
        // No worker to wait for: the window goes at once.
        host_.destroy_window();
    }
}

void Application::on_destroy() {
    host_.stop_ui_calls();
    if (state_) state_->shutdown();
    host_.quit_loop();
}

void Application::on_focus(bool has_focus) {
    if (world_) SetFocusState(world_.get(), has_focus);
}

void Application::on_key(int vk, bool down, bool ctrl, bool alt, bool shift) {
    if (!world_) return;
    if (down) {
        if (int id = translate_accelerator(world_->accelerators, vk, ctrl, alt, shift)) {
            on_command(id);
            return;
        }
    }
    if (world_->has_focus) RefreshKeyState(world_.get());
}

void Application::on_command(int id) {
    // A command before the worker exists is dropped.
    if (worker_started_) queue_.post(WorkerMessage::command(id));
}

void Application::on_mouse_button(int message, std::uint32_t wparam) {
    if (world_ && message >= kWmLButtonDown && message <= kWmMButtonDblClk) {
        QueueMouseMessage(world_.get(), static_cast<std::uint32_t>(message), wparam);
    }
}

void Application::on_mouse_move() {
    if (world_) FollowDrag(world_.get());
}

void Application::on_wheel(int delta) {
    // One row per message whatever the number of notches; nothing under one notch.
    int steps = delta / 120;
    if (steps == 0 || !worker_started_) return;
    queue_.post(WorkerMessage::wheel_row(steps > 0 ? -1 : 1));
}

void Application::on_drop(std::vector<std::string> paths) {
    // The player and the playlist belong to the worker: the whole drop runs there.
    if (!worker_started_ || paths.empty()) return;
    queue_.post(WorkerMessage::drop(std::move(paths)));
}

void Application::open_paths(std::vector<std::string> paths) {
    if (!worker_started_ || paths.empty()) return;
    queue_.post(WorkerMessage::open(std::move(paths)));
}

// ---- media controls ----

void Application::media_request(const MediaRequest& request) {
    if (worker_started_) queue_.post(WorkerMessage::media_request(request));
}

MediaState Application::media_state() {
    std::lock_guard<std::mutex> g(media_mutex_);
    return media_state_;
}

void Application::set_media_listener(std::function<void()> on_change) {
    media_listener_ = std::move(on_change);
    {
        std::lock_guard<std::mutex> g(media_mutex_);
        media_on_ = static_cast<bool>(media_listener_);
        media_notify_pending_ = false;
    }
    // The first copy is taken at once rather than at the next present tick.
    if (media_listener_ && worker_started_) queue_.post(WorkerMessage::media_publish());
}

void Application::publish_media_state() {
    {
        std::lock_guard<std::mutex> g(media_mutex_);
        if (!media_on_) return;
    }
    MediaState s = ReadMediaState(*state_);
    bool notify = false;
    {
        std::lock_guard<std::mutex> g(media_mutex_);
        if (!media_on_) return;
        if (!(s == media_state_) && !media_notify_pending_) {
            media_notify_pending_ = true;
            notify = true;
        }
        media_state_ = std::move(s);
    }
    if (!notify) return;
    host_.post_to_ui_thread([this] {
        {
            std::lock_guard<std::mutex> g(media_mutex_);
            media_notify_pending_ = false;
        }
        if (media_listener_) media_listener_();
    });
}

}  // namespace dz
