#include "edx/EdxWorld.h"

#include <algorithm>

#include "edx/EdxCodes.h"
#include "edx/EdxRender.h"
#include "platform/WindowEvents.h"

namespace dz {

EdxWorld::EdxWorld(WindowHost* w) : window(w) {
    world = this;
}

EdxWorld::~EdxWorld() {
    accelerators.clear();
    if (window) {
        Detach(this);
        send(EDX_DESTROYED);
        for (auto& body : registry) body.reset();
        registry.clear();
        window = nullptr;
    }
}

void Attach(EdxWorld* world, TAG_USERDATA* user_data, EdxHandler handler) {
    world->world = world;
    world->handler = handler;
    world->user_data = user_data;
    Rect client = world->window ? world->window->client_rect() : Rect{};
    world->rect = Rect{0, 0, client.width(), client.height()};
    RecreateBuffers(world);
    world->send(EDX_CREATE);

    EdxImage& back = world->back_buffer;
    if (back.has_bitmap()) {
        std::fill(back.pixels(), back.pixels() + std::size_t(back.stride()) * back.height(), 0);
    }
    world->clip = world->rect;
    Broadcast(world, EDX_DRAW);
    world->send(EDX_DRAWN);
    {
        std::lock_guard<std::mutex> g(world->lock);
        EdxImage& front = world->front_buffer;
        if (back.has_bitmap() && front.has_bitmap() && back.stride() == front.stride()) {
            std::size_t n = std::size_t(front.stride()) * std::min(front.height(), back.height());
            std::copy(back.pixels(), back.pixels() + n, front.pixels());
        }
        world->frame_changed = true;
    }
    PaintWindow(world);
    if (world->window) world->window->show();
}

void TrackCursor(EdxWorld* w) {
    if (w->window) w->cursor_pos = w->window->cursor_client_pos();
    if (w->captured) {
        w->hovered = w->captured;
    } else if (w->zoom > 0) {
        w->hovered = HitTest(w, static_cast<int>(w->cursor_pos.x / w->zoom),
                             static_cast<int>(w->cursor_pos.y / w->zoom));
    } else {
        w->hovered = nullptr;
    }
    w->target = w->captured ? w->captured : (w->hovered ? w->hovered : w);
}

void Update(EdxWorld* w) {
    TrackCursor(w);

    // Newest first, then drop repeats of the record just before, then a stable sort by
    // code: within one tick a target sees down before up before double-click.
    std::vector<EdxMessage> local;
    {
        std::lock_guard<std::mutex> g(w->lock);
        local.reserve(w->input_queue.size());
        while (!w->input_queue.empty()) {
            local.push_back(w->input_queue.back());
            w->input_queue.pop_back();
        }
    }
    std::vector<EdxMessage> kept;
    kept.reserve(local.size());
    for (std::size_t i = 0; i < local.size(); ++i) {
        if (i > 0 && local[i].message == local[i - 1].message) continue;
        kept.push_back(local[i]);
    }
    std::stable_sort(kept.begin(), kept.end(), [](const EdxMessage& a, const EdxMessage& b) {
        return a.message < b.message;
    });

    for (const EdxMessage& m : kept) {
        EdxBody* target = w->target ? w->target : w;
        target->send(static_cast<int>(m.message));
        switch (m.message) {
            case kWmLButtonDown:
                w->left_pressed = w->target;
                break;
            case kWmLButtonUp:
                w->left_pressed = nullptr;
                ReleaseCaptureFor(target);
                break;
            case kWmRButtonDown:
                w->right_pressed = w->target;
                break;
            case kWmRButtonUp:
                w->right_pressed = nullptr;
                ReleaseCaptureFor(target);
                break;
            case kWmMButtonDown:
                w->middle_pressed = w->target;
                break;
            case kWmMButtonUp:
                w->middle_pressed = nullptr;
                ReleaseCaptureFor(target);
                break;
            default:
                break;
        }
    }

    if (w->update_count == 0) w->send(EDX_FIRST_UPDATE);
    w->update_count += 1;
    w->clip = w->rect;
    Broadcast(w, EDX_UPDATE);
    w->send(EDX_UPDATED);
}

void QueueMouseMessage(EdxWorld* w, std::uint32_t message, std::uintptr_t wparam) {
    EdxMessage m;
    m.message = message;
    m.wparam = wparam;
    m.lparam = static_cast<std::intptr_t>(wparam);
    std::lock_guard<std::mutex> g(w->lock);
    w->input_queue.push_back(m);
}

void SetFocusState(EdxWorld* w, bool focus) {
    if (focus) {
        w->has_focus = 1;
        RefreshKeyState(w);
    } else {
        w->has_focus = 0;
        std::lock_guard<std::mutex> g(w->lock);
        w->key_state.fill(0);
    }
}

void RefreshKeyState(EdxWorld* w) {
    if (!w->window) return;
    std::array<std::uint8_t, 256> state{};
    if (!w->window->keyboard_state(state)) return;
    std::lock_guard<std::mutex> g(w->lock);
    w->key_state = state;
}

std::intptr_t CallInUiThread(EdxBody* body, EdxUiFunction fn, std::intptr_t argument) {
    EdxWorld* w = body ? body->world : nullptr;
    if (!w || !w->window || !fn) return 0;
    w->call_argument = argument;
    std::intptr_t result = w->window->call_on_ui_thread(
        [w, body, fn]() { return fn(body, w->user_data, w->call_argument); });
    w->call_argument = 0;
    return result;
}

void PostToUiThread(EdxBody* body, EdxUiFunction fn, std::intptr_t argument) {
    EdxWorld* w = body ? body->world : nullptr;
    if (!w || !w->window || !fn) return;
    TAG_USERDATA* data = w->user_data;
    w->window->post_to_ui_thread([body, fn, data, argument]() { fn(body, data, argument); });
}

int Capture(EdxBody* body) {
    if (!body || !body->world) return 0;
    body->world->captured = body;
    CallInUiThread(body, [](EdxBody* b, TAG_USERDATA*, std::intptr_t) -> std::intptr_t {
        b->world->window->set_capture(true);
        return 0;
    });
    return 0;
}

int ReleaseCaptureFor(EdxBody* body) {
    if (!body || !body->world) return 0;
    body->world->captured = nullptr;
    CallInUiThread(body, [](EdxBody* b, TAG_USERDATA*, std::intptr_t) -> std::intptr_t {
        b->world->window->set_capture(false);
        return 0;
    });
    return 0;
}

CursorHandle SetBodyCursor(EdxBody* body, CursorHandle cursor) {
    if (!body || !body->world) return 0;
    EdxWorld* w = body->world;
    // Setting the cursor shown returns it as the previous one.
    if (cursor != 0 && cursor == w->cursor_set) return cursor;
    if (!w->window) return 0;
    w->cursor_set = cursor;
    return static_cast<CursorHandle>(CallInUiThread(
        body,
        [](EdxBody* b, TAG_USERDATA*, std::intptr_t arg) -> std::intptr_t {
            return static_cast<std::intptr_t>(
                b->world->window->set_cursor(static_cast<CursorHandle>(arg)));
        },
        static_cast<std::intptr_t>(cursor)));
}

int RequestCursor(EdxWorld* w) {
    for (EdxBody* b = w->target ? w->target : w; b; b = b->parent) {
        if (!b->handler) continue;
        if (int r = b->send(EDX_SET_CURSOR)) return r;
    }
    return 0;
}

}  // namespace dz
